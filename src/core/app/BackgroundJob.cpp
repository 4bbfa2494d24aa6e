// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BackgroundJob.h"

#include <QMetaObject>

BackgroundJob::BackgroundJob(QObject *owner) : owner_(owner) {}

BackgroundJob::~BackgroundJob()
{
    drop();
    state_->alive = false;
    join();
}

void BackgroundJob::join()
{
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id())
        thread_.join();
}

void BackgroundJob::drop()
{
    ++state_->generation;
    running_ = false;
}

void BackgroundJob::start(std::function<void(const Post &)> work, std::function<void()> then)
{
    join();
    running_ = true;
    const int generation = ++state_->generation;
    std::shared_ptr<State> state = state_;
    const QPointer<QObject> owner = owner_;
    // Each queued call checks, on the owner's thread, that its run is still the current one.
    Post post = [state, owner, generation](std::function<void()> call) {
        QObject *target = owner.data();
        if (!target)
            return;
        QMetaObject::invokeMethod(
            target,
            [state, generation, call = std::move(call)] {
                if (state->alive && state->generation == generation)
                    call();
            },
            Qt::QueuedConnection);
    };
    thread_ = std::thread([this, post, work = std::move(work), then = std::move(then)]() mutable {
        work(post);
        post([this, then = std::move(then)] {
            // Still current (checked by post): the thread has done its work.
            running_ = false;
            join();
            if (then)
                then();
        });
    });
}
