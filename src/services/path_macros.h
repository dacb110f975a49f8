#pragma once
// Path macros of the built-in items: recognised only at the very start of a text, letter case ignored.

#include <string>

#include "services/system_queries.h"

namespace vantrel {

std::u16string ExpandPathMacros(const std::u16string& text, const SystemQueries& system);

} // namespace vantrel
