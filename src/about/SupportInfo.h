#pragma once
// The product's own support endpoints. The About page shows them and the Help menu opens
// them; they are kept here only, so both always agree.

#include <string_view>

namespace quorvane {

inline constexpr std::string_view kSupportWebAddress = "https://www.quorvane.example/support";
inline constexpr std::string_view kSupportEmailAddress = "support@quorvane.example";

}  // namespace quorvane
