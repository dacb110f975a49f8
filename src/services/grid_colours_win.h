#pragma once
// The system's colours, its high-contrast setting and whether its apps are dark, read for the grid colour decision.

#include "services/grid_colours.h"

namespace vantrel::win {

SystemColours ReadSystemColours();
// SPI_GETHIGHCONTRAST, and the user's stored setting where the system does not track it.
bool ReadHighContrast();
// "AppsUseLightTheme" under the user's Themes\Personalize key is 0.
bool ReadAppsDark();
// All three at once: what the grids' colours follow.
SystemTheme ReadSystemTheme();

} // namespace vantrel::win
