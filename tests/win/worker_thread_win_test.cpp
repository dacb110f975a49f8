// The worker thread runs its jobs elsewhere and answers, while its owner waits, the messages a job sends to the
// owner's windows.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

#include "win/window_win.h"
#include "win/worker_thread_win.h"

namespace vantrel::win {
namespace {

class CountingWindow : public Window {
public:
    CountingWindow() { Create(L"VanTestWorkerOwner", L"", WS_POPUP, 0, 0, 0, 0, 0, nullptr); }
    int answered = 0;

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) {
            ++answered;
            return 42;
        }
        return DefaultProc(message, wParam, lParam);
    }
};

TEST(WorkerThreadWin, JobsRunElsewhereOneAtATime) {
    WorkerThread worker;
    worker.Wait(); // nothing started: returns at once
    std::atomic<DWORD> ranOn = 0;
    int runs = 0;
    for (int i = 0; i < 3; ++i) {
        worker.Start([&] {
            Sleep(20);
            ranOn = GetCurrentThreadId();
            ++runs;
        });
        worker.Wait();
        EXPECT_EQ(runs, i + 1) << "Wait returns only after the job has ended";
    }
    EXPECT_NE(ranOn.load(), GetCurrentThreadId());
    // Starting again waits for the job before.
    worker.Start([&] {
        Sleep(30);
        ++runs;
    });
    worker.Start([&] { ++runs; });
    worker.Wait();
    EXPECT_EQ(runs, 5);
}

TEST(WorkerThreadWin, WaitingAnswersWhatTheJobSendsToTheOwnersWindows) {
    CountingWindow window;
    ASSERT_TRUE(window.Handle());
    WorkerThread worker;
    DWORD_PTR result = 0;
    LRESULT sent = 0;
    worker.Start([&] { sent = SendMessageTimeoutW(window.Handle(), WM_APP, 0, 0, SMTO_BLOCK, 3000, &result); });
    worker.Wait();
    EXPECT_NE(sent, 0) << "the owner answered while it waited";
    EXPECT_EQ(result, 42u);
    EXPECT_EQ(window.answered, 1);
}

TEST(WorkerThreadWin, TheDestructorWaitsForTheRunningJob) {
    std::atomic<bool> finished = false;
    {
        WorkerThread worker;
        worker.Start([&] {
            Sleep(50);
            finished = true;
        });
    }
    EXPECT_TRUE(finished);
}

} // namespace
} // namespace vantrel::win
