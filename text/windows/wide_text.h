#pragma once
// Text as Windows takes it (UTF-16) and as the core holds it (UTF-8).

#include <string>
#include <string_view>

namespace marvolt {

// UTF-8 to UTF-16; invalid bytes become U+FFFD.
std::wstring wideOf(std::string_view utf8);
// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string utf8Of(std::wstring_view wide);

}  // namespace marvolt
