#pragma once
// Point names are bytes of Windows-1250; the user sees and types them as UTF-8.

#include <string>
#include <string_view>

namespace marvolt {

std::string cp1250ToUtf8(std::string_view bytes);
// Characters with no Windows-1250 byte become "?".
std::string utf8ToCp1250(std::string_view text);

}  // namespace marvolt
