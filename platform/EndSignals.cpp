#include "platform/EndSignals.h"

#include "platform/Exceptions.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace ml {

namespace {

constexpr std::array<int, 3> kEndSignals = {SIGTERM, SIGINT, SIGHUP};

// Written by the handler, read by the event loop.
int pipeRead = -1;
int pipeWrite = -1;
volatile std::sig_atomic_t received = 0;

extern "C" void OnEndSignal(int number) {
    const int savedErrno = errno;
    received = 1;
    const unsigned char byte = static_cast<unsigned char>(number);
    // A full pipe already holds a wake-up; losing this byte loses nothing.
    [[maybe_unused]] const ssize_t n = write(pipeWrite, &byte, 1);
    errno = savedErrno;
}

} // namespace

TEndSignals::TEndSignals(std::function<void(int)> onSignal) : OnSignal(std::move(onSignal)) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        throw EInOutError("Cannot watch for signals: no pipe");
    pipeRead = ends[0];
    pipeWrite = ends[1];
    received = 0;
    Notifier = new QSocketNotifier(pipeRead, QSocketNotifier::Read, this);
    connect(Notifier, &QSocketNotifier::activated, this, [this] { Drain(); });

    struct sigaction action = {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kEndSignals)
        sigaction(number, &action, nullptr);
}

TEndSignals::~TEndSignals() {
    for (int number : kEndSignals)
        std::signal(number, SIG_DFL);
    delete Notifier;
    close(pipeRead);
    close(pipeWrite);
    pipeRead = pipeWrite = -1;
}

bool TEndSignals::Received() {
    return received != 0;
}

void TEndSignals::Drain() {
    unsigned char numbers[16];
    ssize_t n;
    while ((n = read(pipeRead, numbers, sizeof numbers)) > 0)
        for (ssize_t i = 0; i < n; ++i)
            if (OnSignal)
                OnSignal(numbers[i]);
}

} // namespace ml
