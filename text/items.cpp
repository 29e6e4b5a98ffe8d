#include "items.h"

namespace marvolt {

namespace {
bool isSeparator(char c) { return c == ' ' || c == '\t'; }
bool isQuote(char c) { return c == '\'' || c == '"'; }
}  // namespace

std::vector<std::string> splitItems(std::string_view text) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);

    std::vector<std::string> items;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isSeparator(text[i])) ++i;
        if (i == text.size()) break;
        const std::size_t start = i;
        while (i < text.size() && !isSeparator(text[i])) {
            if (isQuote(text[i])) {
                const std::size_t close = text.find(text[i], i + 1);
                i = close == std::string_view::npos ? text.size() : close + 1;
            } else {
                ++i;
            }
        }
        items.emplace_back(text.substr(start, i - start));
    }
    return items;
}

}  // namespace marvolt
