// SPDX-License-Identifier: GPL-3.0-or-later
#include "SignalPipe.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include <vector>

namespace
{
int g_pipe[2] = {-1, -1};
std::vector<std::pair<int, struct sigaction>> g_previous;

extern "C" void onSignal(int number)
{
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}
} // namespace

SignalPipe::SignalPipe(std::initializer_list<int> signals, QObject *parent) : QObject(parent)
{
    if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalPipe::readPipe);
    for (int number : signals) {
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        struct sigaction previous = {};
        if (::sigaction(number, &action, &previous) == 0)
            g_previous.emplace_back(number, previous);
    }
}

SignalPipe::~SignalPipe()
{
    if (!notifier_)
        return;
    for (const auto &[number, previous] : g_previous)
        ::sigaction(number, &previous, nullptr);
    g_previous.clear();
    delete notifier_;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void SignalPipe::readPipe()
{
    unsigned char byte = 0;
    while (::read(g_pipe[0], &byte, 1) == 1) {
        if (caught_ == 0)
            caught_ = byte;
        Q_EMIT received(byte);
    }
}
