// vanprobe_hook.dll: loaded by the system into the process that owns an open popup menu, when vanprobe hooks
// that menu's thread. On vanprobe's query message it reads the menu in place and writes the items into the
// probe's shared block (see menu_query.h).

#include <windows.h>

#include <string>

#include "menu_query.h"

namespace {

std::wstring Describe(HMENU menu) {
    std::wstring out;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t caption[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = caption;
        info.cch = 255;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            return {};
        std::wstring flags;
        if (info.fType & MFT_SEPARATOR)
            flags += L'S';
        // MFS_GRAYED and MFS_DISABLED are one value in the headers; the two bits underneath tell "greyed"
        // (drawn grey, cannot be chosen) from "disabled" (drawn normally, cannot be chosen).
        if (info.fState & MF_GRAYED)
            flags += L'G';
        else if (info.fState & MF_DISABLED)
            flags += L'D';
        if (info.fState & MFS_CHECKED)
            flags += L'C';
        if (flags.empty())
            flags = L"-";
        // The caption cannot hold the line structure apart.
        std::wstring text = caption;
        for (wchar_t& c : text)
            if (c == L'\t' || c == L'\n' || c == L'\r')
                c = L' ';
        out += flags + L'\t' + text + L'\n';
    }
    return out;
}

void Answer(HWND menuWindow, DWORD probeId) {
    const std::wstring name = std::wstring(vanprobe::kMenuSharedPrefix) + std::to_wstring(probeId);
    HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, name.c_str());
    if (!mapping)
        return;
    auto* answer = static_cast<vanprobe::MenuAnswer*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    if (answer) {
        HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
        const std::wstring text = menu ? Describe(menu) : std::wstring();
        const DWORD length = static_cast<DWORD>(text.size()) < vanprobe::kMenuAnswerCapacity
                                 ? static_cast<DWORD>(text.size())
                                 : vanprobe::kMenuAnswerCapacity;
        text.copy(answer->text, length);
        answer->length = length;
        MemoryBarrier();
        answer->ready = vanprobe::kMenuAnswerReady;
        UnmapViewOfFile(answer);
    }
    CloseHandle(mapping);
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK VanprobeMenuHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == RegisterWindowMessageW(vanprobe::kMenuQueryMessage))
            Answer(call->hwnd, static_cast<DWORD>(call->wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
