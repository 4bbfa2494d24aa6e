// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/ArchiveThread.h"

#include <QEventLoop>

#include <atomic>
#include <memory>

ArchiveThread::ArchiveThread() : context_(new QObject)
{
    thread_.setObjectName(QStringLiteral("archive"));
    context_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::finished, context_, &QObject::deleteLater);
    thread_.start();
}

ArchiveThread::~ArchiveThread()
{
    thread_.quit();
    thread_.wait();
}

void ArchiveThread::run(const std::function<void()> &work)
{
    ++depth_;
    QEventLoop loop;
    auto done = std::make_shared<std::atomic<bool>>(false);
    QEventLoop *waiting = &loop;
    QMetaObject::invokeMethod(
        context_,
        [&work, done, waiting] {
            work();
            // Queued: the loop may not have started yet, and takes it when it
            // does. Posted before done is set, so the loop outlives the post.
            QMetaObject::invokeMethod(waiting, &QEventLoop::quit, Qt::QueuedConnection);
            done->store(true);
        },
        Qt::QueuedConnection);
    if (!done->load())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    // The quit is posted just before done is set; one still queued goes with the loop.
    while (!done->load())
        QThread::yieldCurrentThread();
    --depth_;
}
