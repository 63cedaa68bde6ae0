#include "startup/Application.h"

#include "platform/Messages.h"

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

} // namespace ml
