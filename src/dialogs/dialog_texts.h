#pragma once
// Texts of the messages the settings dialogs and the resident program show about settings that could not take
// effect. Each one says what failed, what still works and what the user can do.

#include <cstdint>
#include <string>

#include "core/records.h"

namespace vantrel {

// A hot key another program holds: which combination, and how the launcher can still be called (or that it
// cannot, when the mouse combination is off too). After the option dialog's OK it also says that the settings,
// this combination included, were saved.
std::u16string HotKeyTakenText(const TOption& option, bool saved);

// The automatic start could not be switched on or off; reason is the system's.
std::u16string AutoRunFailureText(bool on, const std::u16string& reason);

// No help file where the program looked: every file it tried, in order.
std::u16string HelpMissingText(const std::u16string& expected, const std::u16string& fallback);

// The help viewer could not be started for an existing file.
std::u16string HelpViewerFailureText(const std::u16string& file, const std::u16string& reason);

// An environment's settings file could not be deleted when the selection dialog was confirmed.
std::u16string EnvironmentFileNotDeletedText(const std::u16string& file, const std::u16string& reason);

} // namespace vantrel
