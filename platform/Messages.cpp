#include "platform/Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ml {

namespace {

bool toStderr = false;

bool MessagesToStderr() {
    const char* mode = std::getenv("MIRRORLAKE_MESSAGES");
    return toStderr || (mode && std::strcmp(mode, "stderr") == 0) ||
           !qobject_cast<QApplication*>(qApp);
}

QMessageBox::Icon ToQt(TMsgIcon icon) {
    switch (icon) {
    case TMsgIcon::Error:
        return QMessageBox::Critical;
    case TMsgIcon::Warning:
        return QMessageBox::Warning;
    case TMsgIcon::Information:
        return QMessageBox::Information;
    case TMsgIcon::Question:
        return QMessageBox::Question;
    case TMsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQt(TMsgButtons buttons) {
    switch (buttons) {
    case TMsgButtons::OKCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case TMsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case TMsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case TMsgButtons::OK:
        break;
    }
    return QMessageBox::Ok;
}

TMsgResult FromQt(int answer) {
    switch (answer) {
    case QMessageBox::Yes:
        return TMsgResult::Yes;
    case QMessageBox::No:
        return TMsgResult::No;
    case QMessageBox::Cancel:
        return TMsgResult::Cancel;
    default:
        return TMsgResult::OK;
    }
}

class TDefaultSink : public TMessageSink {
public:
    TMsgResult Show(const TMessage& message) override {
        if (MessagesToStderr()) {
            std::fprintf(stderr, "%s%s%s\n", message.Caption.c_str(),
                         message.Caption.empty() ? "" : ": ", message.Text.c_str());
            return DefaultAnswer(message.Buttons);
        }
        QString caption = QString::fromStdString(message.Caption);
        if (caption.trimmed().isEmpty())
            caption = QString::fromStdString(ApplicationTitle());
        QMessageBox box(ToQt(message.Icon), caption, QString::fromStdString(message.Text),
                        ToQt(message.Buttons));
        return FromQt(box.exec());
    }
};

std::string applicationTitle;
TDefaultSink defaultSink;
TMessageSink* installedSink = nullptr;

} // namespace

TMsgResult DefaultAnswer(TMsgButtons buttons) {
    return buttons == TMsgButtons::OK || buttons == TMsgButtons::OKCancel ? TMsgResult::OK
                                                                          : TMsgResult::Yes;
}

TMsgResult MessageBox(const std::string& text, const std::string& caption, TMsgIcon icon,
                      TMsgButtons buttons) {
    TMessageSink& sink = installedSink ? *installedSink : defaultSink;
    return sink.Show(TMessage{text, caption, icon, buttons});
}

void ShowErrorMessage(const std::string& text) {
    MessageBox(text, "", TMsgIcon::Error, TMsgButtons::OK);
}

void SetApplicationTitle(const std::string& title) {
    applicationTitle = title;
}

const std::string& ApplicationTitle() {
    return applicationTitle;
}

void SendMessagesToStderr() {
    toStderr = true;
}

void SetMessageSink(TMessageSink* sink) {
    installedSink = sink;
}

} // namespace ml
