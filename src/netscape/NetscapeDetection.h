#pragma once
// Whether Netscape is installed, which version, and which generation: 6 for Netscape 6,
// 1 for Navigator (also when nothing is installed).

#include <string>

#include "core/AppContext.h"
#include "core/Reg32.h"

namespace quorvane {

inline constexpr int kNetscape6 = 6;
inline constexpr int kNavigator = 1;

// Returns the version text exactly as stored (empty: not installed) and records the
// generation in the application context.
std::string NetscapeVersion(Reg32& reg, AppContext& app);

}  // namespace quorvane
