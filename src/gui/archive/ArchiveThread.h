// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QThread>

#include <functional>

// A thread for the calls that may wait on the clinic server. The caller waits
// in an event loop that takes no user input: the window keeps painting and no
// click lands in the middle of a call. Objects made by the work (database
// connections, their notices) belong to this thread and are used only there.
class ArchiveThread
{
public:
    ArchiveThread();
    // Waits for the call in hand.
    ~ArchiveThread();
    ArchiveThread(const ArchiveThread &) = delete;
    ArchiveThread &operator=(const ArchiveThread &) = delete;

    void run(const std::function<void()> &work);
    bool busy() const { return depth_ > 0; }

private:
    QThread thread_;
    QObject *context_ = nullptr; // lives on thread_
    int depth_ = 0;
};
