#include "startup/Application.h"

#include "platform/Messages.h"
#include "saver/ShowWindow.h"

#include <exception>

namespace ml {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowErrorMessage(error.what());
    } catch (...) {
        ShowErrorMessage("An unknown error occurred");
    }
    return false;
}

void TApplication::EndAllWindows() {
    for (QWidget* widget : topLevelWidgets()) {
        // A show closes once its current frame is done, never in the middle of it.
        if (auto* show = qobject_cast<TQMfmScrSvr*>(widget))
            show->Close();
        else if (widget->isVisible())
            widget->close();
    }
}

} // namespace ml
