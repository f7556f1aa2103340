// A second thread that does one job at a time for its owner: the owner hands a job over and goes on, and
// waits for it before it touches what the job touches.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace noxi {

class Worker {
public:
    Worker() = default;
    // Waits for the job handed over, and ends the thread.
    ~Worker();
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Starts the thread; false when it cannot be started.
    bool start();
    // Hands a job over, after waiting for the one before.
    void run(std::function<void()> job);
    // Waits until the job handed over is done; false when it ended with an exception (memory ran out), which
    // the thread does not let out.
    bool wait();

private:
    void loop();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::function<void()> job_;
    bool hasJob_ = false;
    bool threw_ = false;
    bool ending_ = false;
    std::thread thread_;
};

}  // namespace noxi
