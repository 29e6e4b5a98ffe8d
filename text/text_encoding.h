#pragma once
// Point names are bytes of Windows-1250; the user sees and types them as UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace marvolt {

// The five bytes Windows-1250 leaves undefined become the C1 controls of the same number
// (and back), so no byte of a name is lost.
std::string cp1250ToUtf8(std::string_view bytes);
// Characters with no Windows-1250 byte become "?".
std::string utf8ToCp1250(std::string_view text);
// The same, or nothing when a character has no Windows-1250 byte or the bytes are not UTF-8.
std::optional<std::string> utf8ToCp1250Exactly(std::string_view text);

}  // namespace marvolt
