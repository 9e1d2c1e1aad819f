#include "transmitter/rig_thread.h"

namespace tonobild {

RigThread::RigThread() : thread_([this] { run(); }) {}

RigThread::~RigThread()
{
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void RigThread::post(std::function<void()> call)
{
    {
        const std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
        ++unfinished_;
    }
    changed_.notify_all();
}

void RigThread::finishQueued()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return unfinished_ == 0; });
}

void RigThread::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return ending_ || !calls_.empty(); });
        if (calls_.empty())
            return; // ending, and nothing left to do
        std::function<void()> call = std::move(calls_.front());
        calls_.pop_front();
        lock.unlock();
        call();
        call = nullptr; // what the call holds (a rig line) goes here, on this thread
        lock.lock();
        --unfinished_;
        changed_.notify_all();
    }
}

} // namespace tonobild
