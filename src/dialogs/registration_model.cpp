#include "dialogs/registration_model.h"

#include <algorithm>

#include "config/item_lists.h"
#include "grid/cells.h"
#include "services/grid.h"
#include "services/text.h"

namespace vantrel {

namespace {

// The design's figures (client coordinates of the form at its narrowest, three rows high).
constexpr int32_t kFormExtraWidth = 18; // outer width = columns * pitch + this
constexpr int32_t kDesignFormHeight = 246;
constexpr int32_t kPageExtraWidth = 12; // the tab control around ColMax cells
constexpr int32_t kPageHeight = 155;
constexpr int32_t kGridHeight = 124;
constexpr int32_t kNamePanelLeft = 4;
constexpr int32_t kNamePanelTop = 160;
constexpr int32_t kNamePanelHeight = 22;
constexpr int32_t kNamePanelInset = 13; // its width is the form's less this
constexpr int32_t kButtonsTop = 188;
constexpr int32_t kLabelTop = 192;
constexpr int32_t kLabelLeft = 4;
constexpr int32_t kLabelWidth = 118;
constexpr int32_t kLabelHeight = 16;
constexpr int32_t kComboLeft = 126;
constexpr int32_t kComboWidth = 49;
constexpr int32_t kComboHeight = 23;
constexpr int32_t kButtonWidth = 65;
constexpr int32_t kButtonHeight = 25;
constexpr int32_t kOkFromRight = 150; // the buttons' left edges from the form's outer width
constexpr int32_t kCancelFromRight = 78;
// Kept from the screen's right and bottom edges when the form grows towards them.
constexpr int32_t kScreenGap = 16;
constexpr int32_t kBottomGrowGap = 262; // screen height - extra - this

int32_t PitchAt(DpiScale scale) {
    return CellMetricsFor(scale).pitch;
}

int32_t FormWidthFor(int32_t colMax, DpiScale s) {
    return std::max(colMax, kRegistrationNarrowestColumns) * PitchAt(s) + s.Px(kFormExtraWidth);
}

void ApplyWidth(RegistrationLayout& layout, int32_t width, DpiScale s) {
    layout.formWidth = width;
    layout.okButton.left = width - s.Px(kOkFromRight);
    layout.cancelButton.left = width - s.Px(kCancelFromRight);
    layout.namePanel.width = width - s.Px(kNamePanelInset);
}

void ApplyExtraRows(RegistrationLayout& layout, int32_t rows, DpiScale s) {
    const int32_t extra = rows * PitchAt(s);
    layout.formHeight = s.Px(kDesignFormHeight) + extra;
    layout.page.height = s.Px(kPageHeight) + extra;
    layout.gridHeight = s.Px(kGridHeight) + extra;
    layout.namePanel.top = s.Px(kNamePanelTop) + extra;
    layout.okButton.top = s.Px(kButtonsTop) + extra;
    layout.cancelButton.top = s.Px(kButtonsTop) + extra;
    layout.widthCombo.top = s.Px(kButtonsTop) + extra;
    layout.widthLabel.top = s.Px(kLabelTop) + extra;
}

std::u16string FileNameOf(std::u16string_view path) {
    const auto slash = path.find_last_of(u"\\/");
    return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

// The folder of a path, keeping the backslash of a drive's root ("C:\a.exe" is in "C:\").
std::u16string FolderOf(std::u16string_view path) {
    const auto slash = path.find_last_of(u"\\/");
    if (slash == std::u16string_view::npos)
        return {};
    std::u16string folder(path.substr(0, slash));
    if (folder.size() == 2 && folder[1] == u':')
        folder += u'\\';
    return folder;
}

bool HasExtension(std::u16string_view path, std::u16string_view extension) {
    const std::u16string name = FileNameOf(path);
    return name.size() >= extension.size() &&
           EqualsNoCase(std::u16string_view(name).substr(name.size() - extension.size()), extension);
}

} // namespace

RegistrationLayout DesignRegistrationLayout(DpiScale s) {
    RegistrationLayout layout;
    layout.frameWidth = s.Px(kRegistrationFrameWidth);
    layout.frameHeight = s.Px(kRegistrationFrameHeight);
    layout.page = {0, 0, 7 * PitchAt(s) + s.Px(kPageExtraWidth), s.Px(kPageHeight)};
    layout.namePanel = {s.Px(kNamePanelLeft), s.Px(kNamePanelTop), 0, s.Px(kNamePanelHeight)};
    layout.widthLabel = {s.Px(kLabelLeft), s.Px(kLabelTop), s.Px(kLabelWidth), s.Px(kLabelHeight)};
    layout.widthCombo = {s.Px(kComboLeft), s.Px(kButtonsTop), s.Px(kComboWidth), s.Px(kComboHeight)};
    layout.okButton = {0, s.Px(kButtonsTop), s.Px(kButtonWidth), s.Px(kButtonHeight)};
    layout.cancelButton = layout.okButton;
    ApplyWidth(layout, FormWidthFor(kRegistrationNarrowestColumns, s), s);
    ApplyExtraRows(layout, 0, s);
    return layout;
}

int32_t ExtraRows(int32_t colMax, int32_t programCount, int32_t systemCount) {
    const int32_t columns = EffectiveColumns(colMax);
    const int32_t n = std::max({programCount, systemCount, 0});
    const int32_t rows = n / columns + (n % columns != 0 ? 1 : 0);
    return std::max(rows - kRegistrationShownRows, 0);
}

ArrangeOutcome ArrangeControls(RegistrationArrangement& arrangement, const ArrangeInputs& in) {
    ArrangeOutcome outcome;
    const DpiScale s = in.scale;
    if (!(s == arrangement.scale))
        arrangement = {0, 0, DesignRegistrationLayout(s), s};
    RegistrationLayout& layout = arrangement.layout;
    const int32_t columns = EffectiveColumns(in.colMax);
    const int32_t width = FormWidthFor(columns, s);
    if (width != arrangement.WiKeep) {
        arrangement.WiKeep = width;
        ApplyWidth(layout, width, s);
        outcome.widthChanged = true;
        if (int64_t{in.formTopLeft.x} + width >= in.screenWidth)
            outcome.left = in.screenWidth - width - s.Px(kScreenGap);
    }
    layout.page.width = columns * PitchAt(s) + s.Px(kPageExtraWidth);

    const int32_t rows = ExtraRows(columns, in.programCount, in.systemCount);
    if (rows == arrangement.HiKeep)
        return outcome;
    arrangement.HiKeep = rows;
    ApplyExtraRows(layout, rows, s);
    outcome.heightChanged = true;
    const int32_t extra = rows * PitchAt(s);
    if (int64_t{in.formTopLeft.y} + s.Px(kDesignFormHeight) + extra >= in.screenHeight)
        outcome.top = in.screenHeight - extra - s.Px(kBottomGrowGap);
    return outcome;
}

bool MoveItem(ItemList& list, int32_t from, int32_t to) {
    const auto count = static_cast<int32_t>(list.size());
    if (from < 0 || to < 0 || from >= count || to >= count)
        return false;
    const auto begin = list.begin();
    if (from < to)
        std::rotate(begin + from, begin + from + 1, begin + to + 1);
    else if (from > to)
        std::rotate(begin + to, begin + from, begin + from + 1);
    return true;
}

bool CanStartDrag(const ItemList& list, int32_t index) {
    return index >= 0 && index < InsertPosition(list);
}

DragStep DragOverCell(ItemList& list, int32_t& dragPosition, int32_t index) {
    if (index < 0 || index >= InsertPosition(list))
        return {false, false};
    if (index == dragPosition || !MoveItem(list, dragPosition, index))
        return {true, false};
    dragPosition = index;
    return {true, true};
}

ThirdCommand ThirdCommandFor(const RData& item) {
    if (!item.Icon || !(item.Status & StatusSystem))
        return ThirdCommand::Delete;
    return (item.Status & StatusNotUsed) ? ThirdCommand::UseItem : ThirdCommand::DoNotUseItem;
}

std::u16string_view ThirdCommandCaption(ThirdCommand command) {
    switch (command) {
    case ThirdCommand::UseItem:
        return u"&Use item";
    case ThirdCommand::DoNotUseItem:
        return u"&Do not use item";
    case ThirdCommand::Delete:
        break;
    }
    return u"&Delete";
}

int32_t ToggleUse(ItemList& list, int32_t index) {
    const auto count = static_cast<int32_t>(list.size());
    if (index < 0 || index >= count)
        return -1;
    if (list[static_cast<std::size_t>(index)].Status & StatusNotUsed) {
        list[static_cast<std::size_t>(index)].Status &= ~StatusNotUsed;
        const int32_t p = InsertPosition(list);
        if (p != count && p != index + 1 && MoveItem(list, index, p))
            return p;
        return index;
    }
    const int32_t p = InsertPosition(list);
    int32_t at = index;
    if (p != index && MoveItem(list, index, p - 1))
        at = p - 1;
    list[static_cast<std::size_t>(at)].Status |= StatusNotUsed;
    return at;
}

void CancelCopies::Take(const ItemList& program, const ItemList& system, int32_t colMax, int32_t environmentFile) {
    CopyList(program_, program);
    CopyList(system_, system);
    colMax_ = colMax;
    file_ = environmentFile;
    open_ = true;
}

void CancelCopies::PutBack(ItemList& program, ItemList& system, int32_t& colMax) const {
    if (!open_)
        return;
    CopyList(program, program_);
    CopyList(system, system_);
    colMax = colMax_;
}

void CancelCopies::End() {
    FreeItems(program_);
    FreeItems(system_);
    open_ = false;
}

RegistrationMenu ComposeRegistrationMenu(const ItemList& list, int32_t index) {
    RegistrationMenu menu;
    const bool item = index >= 0 && static_cast<std::size_t>(index) < list.size();
    menu.settingEnabled = item;
    menu.thirdEnabled = item;
    menu.third = item ? ThirdCommandFor(list[static_cast<std::size_t>(index)]) : ThirdCommand::Delete;
    menu.newEnabled = !TrayFull(list);
    menu.selNow = std::max(index, 0);
    return menu;
}

bool TrayFull(const ItemList& list) {
    return list.size() >= static_cast<std::size_t>(kMaxStoredItems);
}

std::u16string WithoutX86Folder(std::u16string path) {
    static constexpr std::u16string_view kX86 = u"Files (x86)";
    static constexpr std::u16string_view kPlain = u"Files";
    for (auto at = path.find(kX86); at != std::u16string::npos; at = path.find(kX86, at + kPlain.size()))
        path.replace(at, kX86.size(), kPlain);
    return path;
}

uint32_t ShortcutSearchLimit(uint64_t elapsedMs) {
    if (elapsedMs >= kDropSearchMs)
        return 0;
    return static_cast<uint32_t>(std::min<uint64_t>(kShortcutSearchMs, kDropSearchMs - elapsedMs));
}

RData MakeFileItem(const std::u16string& path, ShortcutResolver& shortcuts, const SystemQueries& system,
                   IconSource& icons) {
    RData item;
    item.Title = FileNameOf(path);
    item.IconIndex = -1;
    item.DirectoryName = FolderOf(path);
    std::u16string target = path;
    std::u16string iconSource = path;
    if (HasExtension(path, u".lnk")) {
        item.Title = ShortcutTitle(path);
        if (const auto link = shortcuts.ResolveShortcut(path)) {
            target = system.FileExists(link->target) ? link->target : WithoutX86Folder(link->target);
            iconSource = target;
            if (!link->arguments.empty())
                item.ArgumentName = link->arguments;
            if (!link->directory.empty())
                item.DirectoryName = link->directory;
        }
    }
    // A title is what the settings file numbers its items by: an empty one (a drive's root, a shortcut named
    // ".lnk") would end the list there when it is read back.
    if (item.Title.empty())
        item.Title = path;
    // A path is a real name, which may hold "%" ("50%USERNAME%.exe"): never expanded here. The shell expands the
    // variables of the program and folder it is given to run, though, so a name in which that would name another
    // file is stored by its short name, which names the same file.
    const auto runnable = [&](const std::u16string& name) {
        if (system.ExpandEnvironment(name) == name)
            return name;
        const std::u16string shortName = shortcuts.ShortName(name);
        return system.ExpandEnvironment(shortName) == shortName ? shortName : name;
    };
    item.ExeFileName = runnable(target);
    if (HasExtension(target, u".exe"))
        item.IconIndex = 0;
    if (item.DirectoryName == FolderOf(path))
        item.DirectoryName = runnable(item.DirectoryName);
    item.IconFileName = iconSource;
    const IconHandle associated = icons.AssociatedIcon(iconSource);
    item.Icon =
        associated ? icons.Own(associated) : ResolveItemIcon(item.Status, item.IconFileName, item.IconIndex, icons);
    item.Status = 0;
    return item;
}

int32_t InsertFileItem(ItemList& list, int32_t selNow, RData item) {
    const int32_t at = std::clamp(selNow, 0, InsertPosition(list));
    list.insert(list.begin() + at, std::move(item));
    return at;
}

DropOutcome AddDroppedFiles(ItemList& list, int32_t dropCell, const std::vector<std::u16string>& files,
                            ShortcutResolver& shortcuts, const SystemQueries& system, IconSource& icons) {
    DropOutcome outcome;
    int32_t next = dropCell;
    for (const std::u16string& file : files) {
        if (TrayFull(list)) {
            outcome.full = true;
            break;
        }
        const int32_t at = InsertFileItem(list, next, MakeFileItem(file, shortcuts, system, icons));
        if (outcome.firstIndex < 0)
            outcome.firstIndex = at;
        next = at + 1;
        ++outcome.added;
    }
    return outcome;
}

} // namespace vantrel
