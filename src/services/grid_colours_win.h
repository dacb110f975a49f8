#pragma once
// The system's colours and its high-contrast setting, read for the grid colour decision.

#include "services/grid_colours.h"

namespace vantrel::win {

SystemColours ReadSystemColours();
// SPI_GETHIGHCONTRAST, and the user's stored setting where the system does not track it.
bool ReadHighContrast();

} // namespace vantrel::win
