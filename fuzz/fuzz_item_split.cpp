// Item split of any text: no empty item, and without quotes or NUL the items are the
// blank-and-tab-separated words.

#include "fuzz_input.h"
#include "items.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace marvolt;
    const std::string_view text = fuzz::textOf(data, size);
    const std::vector<std::string> items = splitItems(text);
    for (const std::string& item : items) fuzz::require(!item.empty(), "no empty item");
    if (text.find_first_of(std::string_view("'\"\0", 3)) != std::string_view::npos) return 0;
    std::vector<std::string> words;
    std::string word;
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(word);
    fuzz::require(items == words, "plain text splits into its words");
    return 0;
}
