#pragma once
// Ending on the signals a screen-saver daemon, a session or a terminal sends: SIGTERM, SIGINT
// and SIGHUP. The handler only writes the signal's number into a pipe; the event loop reads
// it and runs the program's ordinary closing path, which is where settings are written and
// files removed. Nothing else is safe to do inside a signal handler.

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace ml {

class TEndSignals : public QObject {
public:
    // Installs the handlers; onSignal runs in the event loop once per signal received. One
    // object at a time: the handlers go back to the defaults when it is destroyed.
    explicit TEndSignals(std::function<void(int)> onSignal);
    ~TEndSignals() override;
    TEndSignals(const TEndSignals&) = delete;
    TEndSignals& operator=(const TEndSignals&) = delete;

    // True once one of the signals arrived. Safe to ask anywhere, so that work that keeps
    // the event loop waiting (a crossfade) can stop early.
    static bool Received();

private:
    void Drain();

    std::function<void(int)> OnSignal;
    QSocketNotifier* Notifier = nullptr;
};

} // namespace ml
