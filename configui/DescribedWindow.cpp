#include "configui/DescribedWindow.h"

#include "configui/ComponentBuilder.h"
#include "configui/ConfigWindow.h"
#include "configui/FormsCollection.h"
#include "platform/Exceptions.h"
#include "platform/ProgramArguments.h"
#include "platform/ProgramPath.h"
#include "platform/Strings.h"
#include "project/QMCProject.h"

#include <QApplication>

namespace ml {

namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

} // namespace

std::string ReplacePlaceholders(const std::string& text, const TQMCProject& project) {
    std::string result;
    for (std::string line : SplitLines(text)) {
        ReplaceAll(line, "<ScreensaverName>", project.Setting.ProductName);
        ReplaceAll(line, "<CompanyName>", project.Setting.Publisher);
        ReplaceAll(line, "<Website>", project.Setting.Website);
        result += line + "\r\n";
    }
    return result;
}

void ShowDescribedWindow(TQMForms& forms, TQMCProject& project, const std::string& windowName,
                         const TUserSettingsFile& settings) {
    if (UpperCase(ExtractFileExt(LongProgramPath())) == ".SCR" || FirstProgramArgument() == "/C")
        QApplication::setApplicationDisplayName(
            QString::fromStdString(project.Setting.ProductName));

    const std::string name = Trim(windowName);
    std::string text = forms.FindForm(name).FilteredDescription();
    RegisterConfigWindowClass();
    text = ReplacePlaceholders(text, project);
    std::unique_ptr<QWidget> built = BuildFromText(text);
    auto* window = dynamic_cast<TfmQMCOnfigWindow*>(built.get());
    if (!window)
        throw EClassNotFound("Class " + std::string(built->metaObject()->className()) +
                             " not found");

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
