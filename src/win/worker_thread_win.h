#pragma once
// A thread that does one job at a time for the thread that owns it, so that a slow question to the system
// (one that goes to another process and back) can be under way while the owner asks others. The thread sleeps
// between jobs and costs nothing while idle.

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

namespace vantrel::win {

class WorkerThread {
public:
    WorkerThread();
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts the job; without a thread (none could be made) it runs at once on the caller's. A job must not
    // send messages to windows of the owner's thread unless the owner is waiting in Wait.
    void Start(std::function<void()> job);
    // Until the job started last has ended. Messages sent to the owner's windows meanwhile are answered.
    void Wait();

private:
    void Run();

    HANDLE go_ = nullptr;
    HANDLE done_ = nullptr;
    std::function<void()> job_;
    std::atomic<bool> stop_ = false;
    bool busy_ = false;
    std::thread thread_;
};

} // namespace vantrel::win
