#pragma once

#include <QObject>

#include <functional>
#include <thread>

// Runs one blocking piece of device work at a time on a thread of its own and
// hands the continuation back to the owner's thread as a queued call. The owner
// keeps the job as a member: destroying it waits for the work to end.
class BackgroundJob
{
public:
    explicit BackgroundJob(QObject *owner) : owner_(owner) {}
    ~BackgroundJob() { join(); }
    BackgroundJob(const BackgroundJob &) = delete;
    BackgroundJob &operator=(const BackgroundJob &) = delete;

    // work runs on the job's thread, then (on the owner's thread) then.
    void run(std::function<void()> work, std::function<void()> then);
    bool running() const { return running_; }
    void join();

private:
    QObject *owner_;
    std::thread thread_;
    bool running_ = false; // touched on the owner's thread only
};
