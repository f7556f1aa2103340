#include "frame/Worker.h"

#include <system_error>
#include <utility>

namespace noxi {

Worker::~Worker() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !hasJob_; });
        ending_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

bool Worker::start() {
    if (thread_.joinable()) return true;
    try {
        thread_ = std::thread(&Worker::loop, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void Worker::run(std::function<void()> job) {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !hasJob_; });
        job_ = std::move(job);
        hasJob_ = true;
    }
    changed_.notify_all();
}

bool Worker::wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !hasJob_; });
    const bool done = !threw_;
    threw_ = false;
    return done;
}

void Worker::loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return hasJob_ || ending_; });
        if (!hasJob_) return;
        lock.unlock();
        bool threw = false;
        try {
            job_();
        } catch (...) {
            threw = true;
        }
        lock.lock();
        threw_ = threw;
        job_ = nullptr;
        hasJob_ = false;
        changed_.notify_all();
    }
}

}  // namespace noxi
