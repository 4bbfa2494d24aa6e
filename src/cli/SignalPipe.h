// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <initializer_list>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a signal of the event loop (a self-pipe): the
// handler itself only writes the signal's number, so whatever runs is stopped
// in order by the loop, not cut off. One at a time; the previous handlers come
// back when it goes.
class SignalPipe : public QObject
{
    Q_OBJECT
public:
    explicit SignalPipe(std::initializer_list<int> signals, QObject *parent = nullptr);
    ~SignalPipe() override;

    bool ok() const { return notifier_ != nullptr; }
    // The first signal caught (0: none yet).
    int caught() const { return caught_; }

Q_SIGNALS:
    void received(int signalNumber);

private:
    void readPipe();

    QSocketNotifier *notifier_ = nullptr;
    int caught_ = 0;
};
