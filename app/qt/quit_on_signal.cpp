#include "app/qt/quit_on_signal.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <csignal>

namespace {

int g_pipe[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
unsigned g_graceSeconds = 0;
volatile std::sig_atomic_t g_firstSignal = 0;

// Only async-signal-safe work here: one byte into the pipe (never waiting: a full pipe already
// wakes the loop), and the deadline at the first signal.
void OnSignal(int signal) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
    if (g_firstSignal == 0) {
        g_firstSignal = signal;
        ::alarm(g_graceSeconds);
    }
}

// The event loop did not end the program in time: the signal's own action ends it.
void OnDeadline(int) {
    if (g_firstSignal == 0) return;
    ::signal(g_firstSignal, SIG_DFL);
    ::raise(g_firstSignal);
}

}  // namespace

QuitOnSignal::QuitOnSignal(std::chrono::seconds grace) {
    g_graceSeconds = static_cast<unsigned>(std::max<std::chrono::seconds::rep>(1, grace.count()));
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0) return;
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
        m_requested = true;
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_pipe[0], &byte, 1);
        QCoreApplication::exit(0);
    });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals) ::sigaction(s, &action, nullptr);
    // Left in place at the end: a deadline that runs keeps holding while the program ends.
    action.sa_handler = OnDeadline;
    ::sigaction(SIGALRM, &action, nullptr);
}

QuitOnSignal::~QuitOnSignal() {
    for (int s : kSignals) std::signal(s, SIG_DFL);
    m_notifier.reset();
    for (int& fd : g_pipe) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}
