#include "device/BackgroundJob.h"

#include <QMetaObject>

void BackgroundJob::join()
{
    if (thread_.joinable())
        thread_.join();
}

void BackgroundJob::run(std::function<void()> work, std::function<void()> then)
{
    join();
    running_ = true;
    thread_ = std::thread([this, work = std::move(work), then = std::move(then)]() mutable {
        work();
        QMetaObject::invokeMethod(
            owner_,
            [this, then = std::move(then)] {
                running_ = false;
                join();
                if (then)
                    then();
            },
            Qt::QueuedConnection);
    });
}
