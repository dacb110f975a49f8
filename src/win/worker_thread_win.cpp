#include "win/worker_thread_win.h"

namespace vantrel::win {

WorkerThread::WorkerThread()
    : go_(CreateEventW(nullptr, FALSE, FALSE, nullptr)), done_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    if (go_ && done_)
        thread_ = std::thread([this] { Run(); });
}

WorkerThread::~WorkerThread() {
    Wait();
    if (thread_.joinable()) {
        stop_ = true;
        SetEvent(go_);
        thread_.join();
    }
    if (go_)
        CloseHandle(go_);
    if (done_)
        CloseHandle(done_);
}

void WorkerThread::Start(std::function<void()> job) {
    Wait();
    if (!thread_.joinable()) {
        job();
        return;
    }
    job_ = std::move(job);
    busy_ = true;
    // The event orders the hand-over: the worker reads job_ only after it was set here.
    SetEvent(go_);
}

void WorkerThread::Wait() {
    if (!busy_)
        return;
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &done_, FALSE, INFINITE, QS_SENDMESSAGE);
        if (woke == WAIT_OBJECT_0 + 1) {
            // Only sent messages are answered here; posted ones and input wait for the owner's own loop.
            MSG msg;
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            continue;
        }
        if (woke != WAIT_OBJECT_0)
            WaitForSingleObject(done_, INFINITE); // the job must have ended before it is dropped
        break;
    }
    busy_ = false;
    job_ = nullptr;
}

void WorkerThread::Run() {
    for (;;) {
        WaitForSingleObject(go_, INFINITE);
        if (stop_)
            return;
        job_();
        SetEvent(done_);
    }
}

} // namespace vantrel::win
