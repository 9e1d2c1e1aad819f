// The rig's own thread. Every call that reaches the rig (opening it, keying,
// releasing, asking whether it still answers, closing it) runs here, one after
// the other in the order they were handed in, so that a rig that is slow to
// answer, or silent until its timeout, holds up this thread and never a
// window's. Whoever hands in a call hears its outcome from the call itself.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace tonobild {

class RigThread {
public:
    RigThread();
    // Runs every call handed in before (a release among them), then ends the
    // thread: whatever way the owner goes, a keyed transmitter is released.
    ~RigThread();
    RigThread(const RigThread&) = delete;
    RigThread& operator=(const RigThread&) = delete;

    // Runs `call` on the rig's thread after every call handed in before it.
    void post(std::function<void()> call);
    // Waits until every call handed in so far has run.
    void finishQueued();

private:
    void run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> calls_;
    int unfinished_ = 0; // calls waiting or running
    bool ending_ = false;
    std::thread thread_; // last: starts once the rest is in place
};

} // namespace tonobild
