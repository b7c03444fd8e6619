// A line typed into the input bar and sent with Enter, as the bar's text
// field sees it character by character: the texts it hands to delivery.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tellu {

// `field` is what the bar's field holds before typing (a reply name put
// there by F4, say).  The field never grows past 110 bytes: characters typed
// beyond that are cut away as they come.  A tab sends the field with the tab
// and empties it; Enter at the end sends whatever is left, even nothing.
std::vector<std::string> TypedLineSends(std::string_view field, std::string_view typed);

}  // namespace tellu
