#include "launcher/item_menu.h"

#include <algorithm>

#include "grid/cells.h"
#include "services/grid.h"
#include "services/item_services.h"
#include "services/text.h"
#include "services/usb_stop_all.h"

namespace vantrel {

namespace {

struct EntryText {
    MenuEntryId id;
    std::u16string_view caption;
};

constexpr EntryText kEntries[] = {
    {MenuEntryId::PlayFromStart, u"&Play"}, {MenuEntryId::NextTrack, u"&Next"},
    {MenuEntryId::PreviousTrack, u"Pre&v"}, {MenuEntryId::Eject, u"&Eject"},
    {MenuEntryId::MarkLine0, u""},          {MenuEntryId::Setting, u"&Setting..."},
    {MenuEntryId::ToIcon, u"&Minimize "},   {MenuEntryId::ToMax, u"Ma&ximize"},
    {MenuEntryId::MarkLine01, u""},         {MenuEntryId::Runas, u"&Run as administrator"},
    {MenuEntryId::MarkLine1, u""},          {MenuEntryId::CutNetworkDrive, u"&Disconnect"},
    {MenuEntryId::StopDrive, u"S&top"},     {MenuEntryId::StopAllDrives, u"Stop all &USB drives"},
    {MenuEntryId::Close, u"&Close"},        {MenuEntryId::MarkLine2, u""},
    {MenuEntryId::AllClose, u"All c&lose"}, {MenuEntryId::AllToIcon, u"&All minimize "},
};

class Entries {
public:
    Entries() {
        for (const EntryText& e : kEntries)
            entries_.push_back({e.id, e.caption, false, true});
    }
    MenuEntry& operator[](MenuEntryId id) { return entries_[static_cast<std::size_t>(id) - 1]; }
    void Show(std::initializer_list<MenuEntryId> ids, bool visible = true) {
        for (MenuEntryId id : ids)
            (*this)[id].visible = visible;
    }
    std::vector<MenuEntry> Take() {
        bool separatorAllowed = false;
        for (MenuEntry& e : entries_) {
            if (!e.visible)
                continue;
            if (e.IsSeparator()) {
                e.visible = separatorAllowed;
                separatorAllowed = false;
            } else {
                separatorAllowed = true;
            }
        }
        return std::move(entries_);
    }

private:
    std::vector<MenuEntry> entries_;
};

bool IsCdPlayer(const RData& item) {
    return EqualsNoCase(item.ExeFileName, u"CD Player");
}

// Only a drive item (a root such as "E:\") stands for a drive; other System items merely begin with a letter.
std::optional<char16_t> DriveLetterOf(const RData& item) {
    if (!(item.Status & StatusSystem) || !IsDriveRoot(item.ExeFileName))
        return std::nullopt;
    return item.ExeFileName[0];
}

char16_t AsciiUpper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

void HideNow(RunContext& c) {
    c.tasks.showStatus = 0;
    c.tasks.view.HideLauncher();
}

void RunCd(RunContext& c, CdCommand command) {
    c.tasks.view.SetCdPlayFlag(true);
    c.shell.Cd(command);
    c.tasks.view.SetCdPlayFlag(false);
    HideNow(c);
}

} // namespace

int32_t FindDevice(const DeviceList& devices, char16_t letter) {
    const char16_t wanted = AsciiUpper(letter);
    for (const RDeviceData& device : devices)
        for (char16_t held : device.DriveLetter)
            if (AsciiUpper(held) == wanted)
                return device.Di;
    return 0;
}

std::optional<std::vector<MenuEntry>> ComposeItemMenu(const ItemMenuInputs& in) {
    if (!IsShownCell(in.trays, in.tray, in.index))
        return std::nullopt;
    const RData& item = in.trays[static_cast<std::size_t>(in.tray)].Items[static_cast<std::size_t>(in.index)];
    Entries menu;
    menu.Show({MenuEntryId::MarkLine2, MenuEntryId::AllClose, MenuEntryId::AllToIcon});

    if (in.tray == TaskTray) {
        menu.Show({MenuEntryId::MarkLine1, MenuEntryId::ToMax, MenuEntryId::ToIcon, MenuEntryId::Close});
        menu[MenuEntryId::ToIcon].enabled = !in.ops.IsIconic(item.WinHandle);
    } else {
        menu.Show({MenuEntryId::Setting}, in.settingDialogAvailable);
        if (item.Status & StatusSystem) {
            if (IsCdPlayer(item)) {
                menu.Show({MenuEntryId::MarkLine0, MenuEntryId::PlayFromStart, MenuEntryId::NextTrack,
                           MenuEntryId::PreviousTrack, MenuEntryId::Eject});
                if (in.cdMode && in.cdMode() == kCdModeOpen)
                    for (MenuEntryId id : {MenuEntryId::NextTrack, MenuEntryId::PreviousTrack, MenuEntryId::Eject})
                        menu[id].enabled = false;
            } else if (item.Flag) {
                menu.Show({MenuEntryId::MarkLine1, MenuEntryId::CutNetworkDrive});
            } else if (const auto letter = DriveLetterOf(item); letter && FindDevice(in.devices, *letter) != 0) {
                menu.Show({MenuEntryId::MarkLine1, MenuEntryId::StopDrive});
                menu.Show({MenuEntryId::StopAllDrives}, AnyStoppableDrive(in.devices));
            }
        }
        // An item that always runs elevated has nothing to offer here.
        menu.Show({MenuEntryId::MarkLine01, MenuEntryId::Runas}, !item.RunasFlag && IsRunasCandidate(item));
    }

    const bool anyTask = !in.trays[TaskTray].Items.empty();
    menu[MenuEntryId::AllClose].enabled = anyTask;
    menu[MenuEntryId::AllToIcon].enabled = anyTask;
    return menu.Take();
}

ScreenPoint ItemMenuPosition(const LauncherLayout& layout, ScreenPoint windowTopLeft, int32_t tray, int32_t index,
                             bool atMouse, ScreenPoint mouse) {
    if (atMouse)
        return mouse;
    const BoxBounds& box = layout.trayBox[static_cast<std::size_t>(std::clamp(tray, 0, 2))];
    const ScreenPoint cell = CellOrigin(std::max(index, 0), layout.columns, layout.cell);
    const int32_t halfCell = layout.cell.pitch / 2;
    return {SaturateToInt32(int64_t{windowTopLeft.x} + box.left + cell.x),
            SaturateToInt32(int64_t{windowTopLeft.y} + box.top + cell.y + halfCell)};
}

MenuOutcome PerformMenuCommand(RunContext& c, MenuEntryId id, const DeviceList& devices) {
    TaskActionContext& t = c.tasks;
    const int32_t mode = std::clamp(t.window.NowMode, 0, 2);
    const int32_t index = t.trays[static_cast<std::size_t>(mode)].NowIndex;
    const RData* item = IsShownCell(t.trays, mode, index)
                            ? &t.trays[static_cast<std::size_t>(mode)].Items[static_cast<std::size_t>(index)]
                            : nullptr;
    switch (id) {
    case MenuEntryId::Runas:
        RunItem(c, mode, index, true);
        break;
    case MenuEntryId::Setting:
        if (item)
            return MenuOutcome::OpenSettingDialog;
        break;
    case MenuEntryId::ToIcon:
    case MenuEntryId::ToMax:
        IconizeTask(t, mode, index, id == MenuEntryId::ToMax, false);
        break;
    case MenuEntryId::Close:
        CloseTask(t, mode, index);
        break;
    case MenuEntryId::CutNetworkDrive:
        if (item && item->ExeFileName.size() >= 2)
            c.shell.CancelNetworkConnection(item->ExeFileName.substr(0, 2));
        HideNow(c);
        break;
    case MenuEntryId::StopDrive: {
        const auto letter = item ? DriveLetterOf(*item) : std::nullopt;
        if (const int32_t handle = letter ? FindDevice(devices, *letter) : 0; handle != 0)
            c.shell.EjectDevice(handle);
        HideNow(c);
        break;
    }
    case MenuEntryId::StopAllDrives:
        // Hidden first: the drives are asked one after another, which takes a moment for each.
        HideNow(c);
        return MenuOutcome::StopAllUsbDrives;
    case MenuEntryId::PlayFromStart:
        RunCd(c, CdCommand::PlayFromStart);
        break;
    case MenuEntryId::NextTrack:
        RunCd(c, CdCommand::NextTrack);
        break;
    case MenuEntryId::PreviousTrack:
        RunCd(c, CdCommand::PreviousTrack);
        break;
    case MenuEntryId::Eject:
        RunCd(c, CdCommand::Eject);
        break;
    case MenuEntryId::AllClose:
        AllTasks(t, true);
        HideNow(c);
        break;
    case MenuEntryId::AllToIcon:
        AllTasks(t, false);
        HideNow(c);
        break;
    case MenuEntryId::MarkLine0:
    case MenuEntryId::MarkLine01:
    case MenuEntryId::MarkLine1:
    case MenuEntryId::MarkLine2:
        break;
    }
    return MenuOutcome::Done;
}

} // namespace vantrel
