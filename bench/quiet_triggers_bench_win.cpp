// What the quiet triggers cost a trigger, under Wine, with another program's window in front:
//
//   quiet_triggers_bench <normal title> <full-screen title> [runs]
//
// The two windows are the task-window fixture's (class VanTaskWindow), one ordinary and one covering the screen;
// each is brought to the front in turn with the mouse over it. For each, the median over `runs` (default 50) of:
//   - the poll that detects the mouse combination, as the resident program makes it every 100 ms (the window
//     under the mouse and its top-level class, the three buttons, the chord decision): the whole cost of a
//     trigger up to its decision before the quiet triggers;
//   - that poll followed by the quiet verdict on the window in front, with the default options (full-screen
//     check only) and with 32 programs in the list (the program behind the window asked too): the cost now.
// The measurements take turns, so that all of them see the same load.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/quiet_triggers_win.h"
#include "app/trigger.h"
#include "bench_support_win.h"
#include "services/excluded_programs.h"
#include "services/text.h"
#include "win/strings_win.h"

using vantrel::bench::NowMs;

namespace {

using namespace vantrel;

constexpr int kWarmUp = 10;

HWND FindFixture(const wchar_t* title) {
    return FindWindowW(L"VanTaskWindow", title);
}

// The resident program's poll up to the chord decision (vantrel_main_win.cpp's Tick, with a sample that fires).
bool PollOnce(ChordFlags& flags, const TOption& option) {
    POINT pt{};
    GetCursorPos(&pt);
    HWND last = nullptr;
    for (HWND w = WindowFromPoint(pt); w; w = GetParent(w))
        last = w;
    wchar_t name[256] = {};
    if (last)
        GetClassNameW(last, name, 256);
    const std::u16string ancestor = win::FromWide(name);
    const auto read = [](int key) {
        const SHORT state = GetAsyncKeyState(key);
        return ButtonState{(state & 0x8000) != 0, (state & 0x8001) != 0};
    };
    ButtonSample sample{read(VK_LBUTTON), read(VK_RBUTTON), read(VK_MBUTTON)};
    // The buttons are not really pressed: the chord is made to fire as a real one would.
    sample.left = {true, true};
    sample.right = {true, true};
    flags = ChordFlags{};
    return PollMouseChord(flags, option, 1602, ancestor, sample);
}

struct Figures {
    std::vector<double> poll, plain, listed;
    bool quietPlain = false;
};

void Measure(HWND window, int runs, Figures& f) {
    SetForegroundWindow(window);
    RECT r{};
    GetWindowRect(window, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Sleep(300);
    TOption plain;
    TOption listed;
    for (int i = 0; i < static_cast<int>(kMaxExcludedPrograms); ++i)
        listed.ExcludeList.push_back(u"program" + DecimalText(i) + u".exe");
    ChordFlags flags;
    // Untimed first rounds: the first questions about a window after it came to the front cost more.
    for (int i = 0; i < kWarmUp; ++i) {
        win::Win32Foreground foreground;
        PollOnce(flags, listed);
        QuietVerdict(Trigger::MouseChord, listed, foreground);
    }
    for (int i = 0; i < runs; ++i) {
        double t0 = NowMs();
        PollOnce(flags, plain);
        f.poll.push_back(NowMs() - t0);

        t0 = NowMs();
        if (PollOnce(flags, plain)) {
            win::Win32Foreground foreground;
            f.quietPlain = QuietVerdict(Trigger::MouseChord, plain, foreground) != TriggerVerdict::Act;
        }
        f.plain.push_back(NowMs() - t0);

        t0 = NowMs();
        if (PollOnce(flags, listed)) {
            win::Win32Foreground foreground;
            QuietVerdict(Trigger::MouseChord, listed, foreground);
        }
        f.listed.push_back(NowMs() - t0);
    }
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2] * 1000.0; // microseconds
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 2;
    const int runs = argc > 3 ? _wtoi(argv[3]) : 50;
    const HWND normal = FindFixture(argv[1]);
    const HWND full = FindFixture(argv[2]);
    if (!normal || !full || runs < 1) {
        std::fprintf(stderr, "quiet_triggers_bench: the fixture windows are not there\n");
        return 1;
    }
    Figures overNormal, overFull;
    // Taking turns window by window in rounds of ten, so that load reaches both alike.
    for (int done = 0; done < runs; done += 10) {
        const int round = std::min(10, runs - done);
        Measure(normal, round, overNormal);
        Measure(full, round, overFull);
    }
    std::printf("chord to decision, median of %d (microseconds, under Wine, another program's window in front):\n",
                runs);
    std::printf("  %-24s %10s %16s %22s\n", "window in front", "poll only", "+ full-screen check",
                "+ 32 listed programs");
    for (const auto& [name, f] :
         {std::pair<const char*, Figures*>{"ordinary window", &overNormal}, {"full-screen window", &overFull}})
        std::printf("  %-24s %10.1f %16.1f %22.1f   (%s)\n", name, Median(f->poll), Median(f->plain), Median(f->listed),
                    f->quietPlain ? "quiet" : "shows");
    std::printf("  \"poll only\" is the whole cost of the trigger up to its decision before the quiet triggers.\n");
    return 0;
}
