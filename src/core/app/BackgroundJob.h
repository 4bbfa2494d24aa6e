// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <thread>

// Runs one piece of blocking work at a time off the owner's thread and hands
// its reports and its end back to the owner's thread as queued calls. A run
// whose results nobody wants any more (drop(), a newer run, the job going)
// delivers nothing. The job lives inside its owner; destroying it waits for
// the work, so whoever owns the work stops it first.
class BackgroundJob
{
public:
    // Called on the work's thread: runs call on the owner's thread, unless the
    // run has gone stale by then.
    using Post = std::function<void(std::function<void()> call)>;

    explicit BackgroundJob(QObject *owner);
    ~BackgroundJob();
    BackgroundJob(const BackgroundJob &) = delete;
    BackgroundJob &operator=(const BackgroundJob &) = delete;

    // work runs on the job's thread, then (on the owner's thread) then.
    void start(std::function<void(const Post &post)> work, std::function<void()> then);
    void run(std::function<void()> work, std::function<void()> then)
    {
        start([work = std::move(work)](const Post &) { work(); }, std::move(then));
    }
    // The same with a value handed from the work to then.
    template <typename R> void run(std::function<R(const Post &post)> work, std::function<void(R &value)> then)
    {
        auto box = std::make_shared<std::optional<R>>();
        start([box, work = std::move(work)](const Post &post) { box->emplace(work(post)); },
              [box, then = std::move(then)] { then(**box); });
    }

    // What the running work still reports, its end included, is dropped.
    void drop();
    // From the start until its end has reached the owner's thread (or was dropped).
    bool running() const { return running_; }
    // Waits for the work's thread to end.
    void join();

private:
    // Shared with the queued calls, which may outlive a run.
    struct State {
        int generation = 0; // owner's thread only
        bool alive = true;
    };
    QPointer<QObject> owner_;
    std::shared_ptr<State> state_ = std::make_shared<State>();
    std::thread thread_;
    bool running_ = false; // owner's thread only
};
