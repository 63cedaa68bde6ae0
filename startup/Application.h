#pragma once
// The application object: Qt's, plus the program's one top-level error handler.

#include <QApplication>

namespace ml {

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);

    // An error escaping an event handler is shown in a message box and the event counts as
    // not handled; the window it came from stays open and the program goes on.
    bool notify(QObject* receiver, QEvent* event) override;

    // Closes every window the way the user would, so that each mode's closing path runs
    // (settings written, sound stopped) and the mode returns. Used when a signal asks the
    // program to end.
    static void EndAllWindows();
};

} // namespace ml
