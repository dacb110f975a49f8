#pragma once
// The DPI of a window or a monitor. The program declares per-monitor awareness, so each window sizes itself from the
// monitor it is on; systems older than the per-monitor calls answer with the one system DPI.

#include <windows.h>

#include "core/dpi_scale.h"

namespace vantrel::win {

// The DPI every window had before per-monitor awareness: the screen's logical pixels per inch.
DpiScale SystemScale();
// The DPI of a monitor; the system's on systems without per-monitor DPI.
DpiScale MonitorScale(HMONITOR monitor);
// The DPI of the monitor at a screen point (the nearest monitor when none holds it).
DpiScale ScaleAtPoint(POINT point);
// The DPI the window is drawn at.
DpiScale WindowScale(HWND window);
// A system metric (icon sizes, for one) at a DPI; at the system's DPI on systems that cannot tell.
int SystemMetricAt(int index, DpiScale scale);

} // namespace vantrel::win
