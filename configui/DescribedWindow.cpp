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

// Replaces every occurrence in one pass over the line, so the work grows with the line and
// the result. Inside a quoted string (the notation's quotes toggle it, a doubled quote
// twice) the value is written with its quotes doubled when asked.
std::string Substitute(const std::string& line, const std::string& from, const std::string& to,
                       bool quoteAware) {
    std::string quotedTo;
    for (char c : to)
        quotedTo += c == '\'' ? std::string("''") : std::string(1, c);
    std::string result;
    result.reserve(line.size());
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
    std::string result;
    for (const std::string& line : SplitLines(text)) {
        std::string replaced = Substitute(line, "<ScreensaverName>", s.ProductName, quoteAware);
        replaced = Substitute(replaced, "<CompanyName>", s.Publisher, quoteAware);
        result += Substitute(replaced, "<Website>", s.Website, quoteAware) + "\r\n";
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
