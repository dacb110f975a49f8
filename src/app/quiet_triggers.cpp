#include "app/quiet_triggers.h"

#include <array>

#include "services/excluded_programs.h"

namespace vantrel {

namespace {

constexpr int32_t kModAlt = 1;
constexpr int32_t kModControl = 2;
constexpr int32_t kModShift = 4;
constexpr int32_t kModWin = 8;

// The desktop, the taskbars and the window system's own desktop window.
bool IsShellClass(const std::u16string& name) {
    return name == u"Progman" || name == u"WorkerW" || name == u"Shell_TrayWnd" || name == u"Shell_SecondaryTrayWnd" ||
           name == u"#32769";
}

bool Covers(const ScreenRect& outer, const ScreenRect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

bool IsExtendedKey(int32_t vk) {
    // The arrows (the key list offers them), the Windows key and the navigation block.
    return (vk >= 0x21 && vk <= 0x28) || vk == 0x2D || vk == 0x2E || vk == kVkLeftWin;
}

} // namespace

bool IsFullScreen(NotificationState state, const std::optional<ForegroundWindow>& foreground) {
    if (state == NotificationState::Busy || state == NotificationState::D3dFullScreen ||
        state == NotificationState::PresentationMode)
        return true;
    if (!foreground || foreground->shellWindow || IsShellClass(foreground->className))
        return false;
    if (foreground->maximized && foreground->captioned)
        return false;
    const ScreenRect& m = foreground->monitor;
    return m.right > m.left && m.bottom > m.top && Covers(foreground->window, m);
}

TriggerVerdict QuietVerdict(Trigger trigger, const TOption& option, ForegroundFacts& foreground) {
    // The list first: over a listed program the hot key must reach it, full screen or not.
    if (!option.ExcludeList.empty() && IsExcludedProgram(option.ExcludeList, foreground.ProgramPath()))
        return trigger == Trigger::HotKey ? TriggerVerdict::PassKeyOn : TriggerVerdict::Ignore;
    if ((trigger == Trigger::MouseChord || option.FullScreenKeyOffFlag) && foreground.FullScreen())
        return TriggerVerdict::Ignore;
    return TriggerVerdict::Act;
}

std::vector<KeyStroke> HotKeyStrokes(int32_t vkMod, int32_t vkKey, HeldModifiers held) {
    struct Modifier {
        int32_t bit;
        int32_t vk;
        bool held;
    };
    const std::array<Modifier, 4> modifiers{{{kModControl, kVkControl, held.control},
                                             {kModAlt, kVkAlt, held.alt},
                                             {kModShift, kVkShift, held.shift},
                                             {kModWin, kVkLeftWin, held.win}}};
    std::vector<KeyStroke> strokes;
    for (const Modifier& m : modifiers)
        if ((vkMod & m.bit) && !m.held)
            strokes.push_back({m.vk, false, IsExtendedKey(m.vk)});
    strokes.push_back({vkKey, false, IsExtendedKey(vkKey)});
    strokes.push_back({vkKey, true, IsExtendedKey(vkKey)});
    for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m)
        if ((vkMod & m->bit) && !m->held)
            strokes.push_back({m->vk, true, IsExtendedKey(m->vk)});
    return strokes;
}

} // namespace vantrel
