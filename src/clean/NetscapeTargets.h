#pragma once
// The Netscape targets of a clean run: which profile folders are cleaned, and the four
// things removed from each, every one when its option of section "Netscape Options" is on.
// CleanNetscape runs them on every profile folder in this order.

#include <string>
#include <string_view>
#include <vector>

#include "clean/CleanContext.h"

namespace quorvane {

// The Netscape group of a clean run: the selected Netscape 6 profiles, or the Navigator
// profile.
void CleanNetscape(CleanContext& context);

// Netscape 6 (generation 6): the rows of the profile list that the wizard stored as
// selected, in the order of the selection. Navigator (any other generation): the current
// user's profile under the install directory's parent. A folder that is empty, relative,
// a drive root or a protected folder is left out.
std::vector<std::string> NetscapeProfileFolders(CleanContext& context, int generation);

// Option "Cache": the profile's "Cache" folder is removed and created again, empty.
void CleanNetscapeCache(CleanContext& context, std::string_view profile);
// Option "Cookies": the cookies file is bleached.
void CleanNetscapeCookies(CleanContext& context, std::string_view profile);
// Option "Clean": the "URL_" values of the typed-address list go, and both history files
// are bleached.
void CleanNetscapeHistory(CleanContext& context, std::string_view profile);
// Option "MailTrash": the trash files in the sub-folders of the profile's mail folder.
void CleanNetscapeMailTrash(CleanContext& context, std::string_view profile);

}  // namespace quorvane
