#pragma once
// Message boxes. The real sink shows a QMessageBox; with MIRRORLAKE_MESSAGES=stderr (headless
// runs) or without a GUI application the text goes to standard error and the default answer
// is taken. Tests install a sink that records what would have been shown.

#include <string>

namespace ml {

enum class TMsgIcon { None, Error, Warning, Information, Question };
enum class TMsgButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class TMsgResult { OK, Cancel, Yes, No };

struct TMessage {
    std::string Text;
    std::string Caption;
    TMsgIcon Icon = TMsgIcon::None;
    TMsgButtons Buttons = TMsgButtons::OK;
};

class TMessageSink {
public:
    virtual ~TMessageSink() = default;
    virtual TMsgResult Show(const TMessage& message) = 0;
};

// Shows a message through the installed sink and returns the answer.
TMsgResult MessageBox(const std::string& text, const std::string& caption = "",
                      TMsgIcon icon = TMsgIcon::None, TMsgButtons buttons = TMsgButtons::OK);
// Shorthand for an error report with an OK button, as the top-level handler shows it.
void ShowErrorMessage(const std::string& text);

// The application's title: the caption of message boxes that name none. It is kept apart from
// Qt's application display name, which Qt would append to every window title.
void SetApplicationTitle(const std::string& title);
const std::string& ApplicationTitle();

// From now on the default sink writes to standard error, as with MIRRORLAKE_MESSAGES=stderr:
// for runs where nobody can answer a box.
void SendMessagesToStderr();

// Installs a sink (not owned); nullptr restores the default.
void SetMessageSink(TMessageSink* sink);

// The answer a box gives when nobody can click: the first button's.
TMsgResult DefaultAnswer(TMsgButtons buttons);

} // namespace ml
