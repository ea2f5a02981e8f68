#pragma once
// Where the profile wizard stores its choice and the Netscape clean reads it: section
// "NProfile" of the per-user store under the product's name, keys "1" to "n" holding the
// marker folders of the rows shown, "SelectedNProfile" the ticked rows as "|2|4".

#include <string_view>

namespace quorvane {

inline constexpr std::string_view kProfileSection = "NProfile";
inline constexpr std::string_view kSelectionKey = "SelectedNProfile";

}  // namespace quorvane
