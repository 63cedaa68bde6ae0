#include "tools/authoring/InterfaceCheck.h"

#include "configui/ActionNumbers.h"
#include "configui/ComponentBuilder.h"
#include "configui/ConfigWindow.h"
#include "configui/DescribedWindow.h"
#include "configui/FormsCollection.h"
#include "platform/Strings.h"

#include <QApplication>

namespace ml::authoring {

namespace {

constexpr const char* kMainWindow = "MainWindow";

bool HasForm(const TQMForms& forms, const std::string& name) {
    for (int i = 0; i < forms.Count(); ++i)
        if (SameText(forms.Form(i).Name, Trim(name)))
            return true;
    return false;
}

} // namespace

TFindings CheckInterfaceDescription(const std::string& text, const std::string& shownName,
                                    const TQMCProject& project) {
    TQMForms forms;
    try {
        forms.LoadFromText(text);
    } catch (const std::exception& e) {
        return {Error(shownName, "", "the player cannot read it: " + std::string(e.what()),
                      "Fix the file, or leave it out to get the default window")};
    }
    TFindings findings;
    if (!HasForm(forms, kMainWindow))
        findings.push_back(Error(shownName, "",
                                 "it holds no window named MainWindow, which /C opens",
                                 "Name the first window 'object MainWindow: TForm', or leave the "
                                 "file out to get the default window"));
    // Building needs widgets; without a widget application only the layout is checked.
    const bool canBuild = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    if (canBuild)
        RegisterConfigWindowClass();
    for (int i = 0; i < forms.Count(); ++i) {
        TQMForm& form = forms.Form(i);
        const std::string where = "window " + form.Name;
        if (canBuild) {
            try {
                BuildFromText(ReplacePlaceholders(form.FilteredDescription(), project));
            } catch (const std::exception& e) {
                findings.push_back(
                    Error(shownName, where, "it does not build: " + std::string(e.what())));
            }
        }
        for (int b = 0; b < form.Actions.Count(); ++b) {
            const std::string control = form.Actions.ControlName(b);
            const TAction* action = form.Actions.FindAction(control);
            if (action && action->ActionNumber == ShowWindow && !HasForm(forms, action->Param1))
                findings.push_back(Error(shownName, where + ", control " + control,
                                         "it opens a window '" + Trim(action->Param1) +
                                             "' that the file does not hold"));
        }
    }
    return findings;
}

} // namespace ml::authoring
