#pragma once
// Context numbers of the help file's topics. The help project (src/resources/help) maps the same numbers to its
// pages; a Windows test reads the compiled files' maps and checks both against each other.

#include <array>
#include <cstdint>

namespace vantrel {

constexpr int32_t kHelpTrayMenu = 3;
constexpr int32_t kHelpRegistration = 10;
constexpr int32_t kHelpIconSetting = 12;
constexpr int32_t kHelpOption = 14;
constexpr int32_t kHelpOptionKey = 16;
constexpr int32_t kHelpOptionMouse = 18;
constexpr int32_t kHelpOptionOther = 20;
constexpr int32_t kHelpEnvironments = 22;
constexpr int32_t kHelpOptionExclusions = 24;

// Every topic the program asks for.
constexpr std::array<int32_t, 9> kHelpTopics{kHelpTrayMenu,    kHelpRegistration, kHelpIconSetting,
                                             kHelpOption,      kHelpOptionKey,    kHelpOptionMouse,
                                             kHelpOptionOther, kHelpEnvironments, kHelpOptionExclusions};

} // namespace vantrel
