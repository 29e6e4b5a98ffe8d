#pragma once
// Item split: a line cut into items at runs of blanks and tabs, with quoted stretches.

#include <string>
#include <string_view>
#include <vector>

namespace marvolt {

// Spaces and tabs separate items; a ' or " starts a stretch (anywhere in an item) inside
// which blanks, tabs and the other quote belong to the item, up to the same quote or the
// end of the text. Quotes stay in the item. A NUL byte ends the text.
std::vector<std::string> splitItems(std::string_view text);

}  // namespace marvolt
