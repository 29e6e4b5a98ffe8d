#pragma once
// Text as Windows takes it (UTF-16) and as the core holds it (UTF-8).

#include <string>
#include <string_view>

namespace marvolt {

// UTF-8 to UTF-16; invalid bytes become U+FFFD.
std::wstring wideOf(std::string_view utf8);
// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string utf8Of(std::wstring_view wide);
// One argument for a command line, as a program's C run-time splits it again: in quotes
// when it is empty or holds a blank or a quote, a quote and the backslashes before it
// escaped.
std::wstring commandLineArgument(const std::wstring& argument);

}  // namespace marvolt
