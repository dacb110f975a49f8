#include "launcher/layout.h"

#include <algorithm>

#include "config/item_lists.h"
#include "grid/cells.h"
#include "services/grid.h"

namespace vantrel {

namespace {

// 96-dpi figures.
constexpr int32_t kGap = 2;            // between a box and the next label, and a label and its box
constexpr int32_t kNamePanelGap = 10;  // above and below the name panel
constexpr int32_t kNameLabelInset = 6; // the panel's bevel and the label's left margin
constexpr int32_t kFirstLabelTop = 2;
constexpr int32_t kNameLabelLeft = 4; // the name label inside the panel
constexpr int32_t kNameLabelTop = 1;
constexpr int32_t kNameLabelHeight = 18;

std::array<int32_t, 3> ShownCounts(const std::array<TrayEntry, 3>& trays) {
    return {ShownCount(trays[0]), ShownCount(trays[1]), ShownCount(trays[2])};
}

int32_t TrayWidth(int32_t columns, const CellMetrics& metrics) {
    return SaturateToInt32(int64_t{columns} * metrics.pitch + metrics.offset);
}

} // namespace

int32_t ShownCount(const TrayEntry& tray) {
    return InsertPosition(tray.Items);
}

bool IsShownCell(const std::array<TrayEntry, 3>& trays, int32_t tray, int32_t index) {
    if (tray < 0 || tray > 2 || index < 0)
        return false;
    return index < ShownCount(trays[static_cast<std::size_t>(tray)]);
}

TraySize SetTraySize(int32_t colMax, int32_t shownCount, const CellMetrics& metrics) {
    const int32_t columns = EffectiveColumns(colMax);
    const int64_t n = std::max(shownCount, 0);
    const int64_t rows = (n - 1) / columns + 1; // truncates toward zero: 0 items in 1 column give 0 rows
    return {TrayWidth(columns, metrics), SaturateToInt32(rows * metrics.pitch + metrics.offset)};
}

LauncherLayout ComputeLayout(int32_t colMax, const std::array<int32_t, 3>& shownCounts, int32_t labelHeight,
                             DpiScale scale) {
    LauncherLayout layout;
    layout.columns = EffectiveColumns(colMax);
    layout.scale = scale;
    layout.cell = CellMetricsFor(scale);
    const int32_t left = scale.Px(kTrayLeft);
    const int64_t gap = scale.Px(kGap);
    layout.labelLeft = left;
    const int64_t label = std::max(labelHeight, 0);
    // Three saturated heights and small constants cannot overflow 64 bits.
    int64_t y = scale.Px(kFirstLabelTop) - gap;
    for (std::size_t t = 0; t < 3; ++t) {
        layout.labelTop[t] = SaturateToInt32(y + gap);
        y += label + gap;
        const TraySize size = SetTraySize(layout.columns, shownCounts[t], layout.cell);
        layout.trayBox[t] = {left, SaturateToInt32(y + gap), size.width, size.height};
        y += int64_t{size.height} + gap;
    }
    const int32_t panelWidth = TrayWidth(layout.columns, layout.cell);
    const int32_t panelHeight = scale.Px(kNamePanelHeight);
    const int64_t panelGap = scale.Px(kNamePanelGap);
    layout.namePanel = {left, SaturateToInt32(y + panelGap), panelWidth, panelHeight};
    layout.nameLabelWidth = panelWidth - scale.Px(kNameLabelInset);
    layout.nameLabel = {left + scale.Px(kNameLabelLeft),
                        SaturateToInt32(int64_t{layout.namePanel.top} + scale.Px(kNameLabelTop)), layout.nameLabelWidth,
                        scale.Px(kNameLabelHeight)};
    layout.width = SaturateToInt32(2 * int64_t{left} + panelWidth);
    layout.height = SaturateToInt32(y + panelGap + panelHeight + panelGap);
    return layout;
}

void BeginShow(LauncherWindowState& window) {
    window.ShowFlag = false;
    window.NowMode = ProgramTray;
    window.NowColum = 0;
}

const LauncherLayout& SetLayout(LauncherWindowState& window, std::array<TrayEntry, 3>& trays, int32_t colMax,
                                int32_t labelHeight) {
    for (auto& tray : trays) {
        tray.NowIndex = 0;
        tray.LastIndex = 0;
    }
    const LauncherLayout layout = ComputeLayout(colMax, ShownCounts(trays), labelHeight, window.Scale);
    if (layout.height != window.Layout.height || layout.width != window.Layout.width)
        window.ShowFlag = false;
    window.Layout = layout;
    return window.Layout;
}

const LauncherLayout& Rescale(LauncherWindowState& window, const std::array<TrayEntry, 3>& trays, int32_t colMax,
                              int32_t labelHeight, DpiScale scale) {
    window.Scale = scale;
    window.Layout = ComputeLayout(colMax, ShownCounts(trays), labelHeight, scale);
    window.ShowFlag = false;
    return window.Layout;
}

bool EraseBackground(LauncherWindowState& window) {
    if (window.ShowFlag)
        return false;
    window.ShowFlag = true;
    return true;
}

int32_t StartTray(const std::array<TrayEntry, 3>& trays, int32_t showStatus, const TOption& option) {
    int32_t mode = showStatus == 2 ? option.MousePositionFlag : option.KeyCursorFlag;
    if (mode < 0 || mode > 2)
        mode = ProgramTray;
    // A tray whose items are all "not used" shows nothing, so the cursor must not start there: it would sit on
    // an invisible item that Enter would still run.
    const auto empty = [&](int32_t t) { return ShownCount(trays[static_cast<std::size_t>(t)]) == 0; };
    if (!empty(mode))
        return mode;
    for (int32_t t = ProgramTray; t <= SystemTray; ++t)
        if (!empty(t))
            return t;
    return ProgramTray;
}

bool ShowsAtMouse(const TOption& option, int32_t showStatus) {
    return (option.MousePositionFlag != -1 && option.MouseFlag != 0 && showStatus == 2) || option.KeyPositionFlag;
}

ScreenPoint MouseAnchor(const LauncherLayout& layout, int32_t nowMode, int32_t mousePositionFlag) {
    if (mousePositionFlag == 3)
        return {layout.width / 2, layout.height / 2};
    const BoxBounds& box = layout.trayBox[static_cast<std::size_t>(std::clamp(nowMode, 0, 2))];
    const int32_t toCellCentre = layout.cell.offset + layout.cell.pitch / 2;
    return {SaturateToInt32(int64_t{box.left} + toCellCentre), SaturateToInt32(int64_t{box.top} + toCellCentre)};
}

void CursorAfterTaskClose(LauncherWindowState& window, std::array<TrayEntry, 3>& trays, int32_t colMax,
                          int32_t labelHeight) {
    const auto taskCount = static_cast<int32_t>(std::min<std::size_t>(trays[TaskTray].Items.size(), INT32_MAX));
    int32_t taskIndex = trays[TaskTray].NowIndex;
    if (taskCount == 0)
        window.NowMode = ShownCount(trays[ProgramTray]) > 0 ? ProgramTray : SystemTray;
    else
        taskIndex = std::clamp(taskIndex, 0, taskCount - 1);
    SetLayout(window, trays, colMax, labelHeight);
    if (taskCount > 0)
        trays[TaskTray].NowIndex = taskIndex;
    const int32_t mode = std::clamp(window.NowMode, 0, 2);
    window.NowColum = RemainderOf(trays[static_cast<std::size_t>(mode)].NowIndex, window.Layout.columns);
}

void CursorAfterTraysChanged(LauncherWindowState& window, std::array<TrayEntry, 3>& trays, int32_t colMax,
                             int32_t labelHeight) {
    std::array<int32_t, 3> kept{};
    for (std::size_t t = 0; t < 3; ++t)
        kept[t] = trays[t].NowIndex;
    SetLayout(window, trays, colMax, labelHeight);
    for (std::size_t t = 0; t < 3; ++t) {
        const int32_t shown = ShownCount(trays[t]);
        trays[t].NowIndex = std::clamp(kept[t], 0, std::max(shown - 1, 0));
        trays[t].LastIndex = trays[t].NowIndex;
    }
    int32_t mode = std::clamp(window.NowMode, 0, 2);
    if (ShownCount(trays[static_cast<std::size_t>(mode)]) == 0)
        for (int32_t t = SystemTray; t >= ProgramTray; --t)
            if (ShownCount(trays[static_cast<std::size_t>(t)]) > 0)
                mode = t;
    window.NowMode = mode;
    window.NowColum = RemainderOf(trays[static_cast<std::size_t>(mode)].NowIndex, window.Layout.columns);
}

CloseAnswer OnCloseCommand(bool cdPlayFlag) {
    return cdPlayFlag ? CloseAnswer::Refuse : CloseAnswer::Hide;
}

bool HidesOnDeactivate(int32_t showStatus) {
    return showStatus != 0;
}

} // namespace vantrel
