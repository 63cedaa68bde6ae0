#include "configui/DescribedWindow.h"

#include "configui/ComponentBuilder.h"
#include "configui/ConfigWindow.h"
#include "configui/FormsCollection.h"
#include "platform/Exceptions.h"
#include "platform/Messages.h"
#include "platform/ProgramArguments.h"
#include "platform/ProgramPath.h"
#include "platform/Strings.h"
#include "project/QMCProject.h"

namespace ml {

namespace {

// The product's names are a few words, in a few places. A text full of placeholders (each
// name may be 2047 characters long) would grow without bound and cost its window hundreds of
// megabytes: growth beyond this is refused before the text is made.
constexpr std::size_t kMaxPlaceholderGrowth = std::size_t{1} << 20;

// Replaces every occurrence in one pass over the line, so the work grows with the line and
// the result. Inside a quoted string (the notation's quotes toggle it, a doubled quote
// twice) the value is written with its quotes doubled when asked. The growth is taken from
// `allowance` first.
std::string Substitute(const std::string& line, const std::string& from, const std::string& to,
                       bool quoteAware, std::size_t& allowance) {
    std::string quotedTo;
    for (char c : to)
        quotedTo += c == '\'' ? std::string("''") : std::string(1, c);
    std::size_t count = 0;
    for (std::size_t at = line.find(from); at != std::string::npos;
         at = line.find(from, at + from.size()))
        ++count;
    const std::size_t longest = std::max(to.size(), quotedTo.size());
    const std::size_t growth = longest > from.size() ? count * (longest - from.size()) : 0;
    if (growth > allowance)
        throw EReadError("The product's names make the text grow by more than " +
                         std::to_string(kMaxPlaceholderGrowth >> 20) +
                         " MiB: it holds too many placeholders");
    allowance -= growth;

    std::string result;
    result.reserve(line.size() + growth);
    bool inString = false;
    for (std::size_t i = 0; i < line.size();) {
        if (line.compare(i, from.size(), from) == 0) {
            result += quoteAware && inString ? quotedTo : to;
            i += from.size();
            continue;
        }
        if (line[i] == '\'')
            inString = !inString;
        result += line[i++];
    }
    return result;
}

std::string ReplaceLines(const std::string& text, const TQMCProject& project, bool quoteAware) {
    const TQMCSetting& s = project.Setting;
    std::size_t allowance = kMaxPlaceholderGrowth;
    std::string result;
    for (const std::string& line : SplitLines(text)) {
        std::string replaced =
            Substitute(line, "<ScreensaverName>", s.ProductName, quoteAware, allowance);
        replaced = Substitute(replaced, "<CompanyName>", s.Publisher, quoteAware, allowance);
        result += Substitute(replaced, "<Website>", s.Website, quoteAware, allowance) + "\r\n";
    }
    return result;
}

} // namespace

std::string ReplacePlaceholders(const std::string& text, const TQMCProject& project) {
    return ReplaceLines(text, project, false);
}

std::string ReplaceDescriptionPlaceholders(const std::string& text, const TQMCProject& project) {
    return ReplaceLines(text, project, true);
}

std::unique_ptr<TfmQMCOnfigWindow> BuildDescribedWindow(TQMForms& forms, const TQMCProject& project,
                                                        const std::string& windowName) {
    std::string text = forms.FindForm(Trim(windowName)).FilteredDescription();
    RegisterConfigWindowClass();
    text = ReplaceDescriptionPlaceholders(text, project);
    std::unique_ptr<QWidget> built = BuildFromText(text);
    auto* window = dynamic_cast<TfmQMCOnfigWindow*>(built.get());
    if (!window)
        throw EClassNotFound("Class " + std::string(built->metaObject()->className()) +
                             " not found");
    built.release();
    return std::unique_ptr<TfmQMCOnfigWindow>(window);
}

void ShowDescribedWindow(TQMForms& forms, TQMCProject& project, const std::string& windowName,
                         const TUserSettingsFile& settings) {
    if (UpperCase(ExtractFileExt(LongProgramPath())) == ".SCR" || FirstProgramArgument() == "/C")
        SetApplicationTitle(project.Setting.ProductName);

    std::unique_ptr<TfmQMCOnfigWindow> window = BuildDescribedWindow(forms, project, windowName);

    TDescribedWindowContext& context = DescribedWindowContext();
    context.Forms = &forms;
    context.Project = &project;
    context.Settings = settings;

    window->ShapeWindow();
    TShowSettings user;
    if (ReadUserSettings(project, user, settings))
        ApplyShowSettings(project, user, false);
    window->ShowModal();
}

} // namespace ml
