#include "items.h"

#include <gtest/gtest.h>

namespace marvolt {
namespace {

using Items = std::vector<std::string>;

TEST(SplitItems, SeparatorsQuotesAndNul) {
    using namespace std::string_literals;
    const struct {
        std::string text;
        Items items;
    } rows[] = {
        {"", {}},
        {"     ", {}},  // a line of blanks
        {"P1 10:15:05 10:20:00", {"P1", "10:15:05", "10:20:00"}},
        {"  P1\t   10:15  ", {"P1", "10:15"}},  // tab followed by three blanks is one separator
        {"\"a b\" c", {"\"a b\"", "c"}},        // quotes stay in the item
        {"'a \"b' c", {"'a \"b'", "c"}},        // the other quote belongs to the stretch
        {"x\"a\tb\"y z", {"x\"a\tb\"y", "z"}},  // a stretch in the middle of an item
        {"O'Neil 10:00 11:00", {"O'Neil 10:00 11:00"}},  // never closed: runs to the end
        {"\"\" ''", {"\"\"", "''"}},
        {"A 1\0B 2"s, {"A", "1"}},  // NUL ends the text
        {"\0A"s, {}},
        {"\"a\0b\" c"s, {"\"a"}},  // NUL also ends an open stretch
    };
    for (const auto& row : rows) EXPECT_EQ(splitItems(row.text), row.items) << row.text;
}

}  // namespace
}  // namespace marvolt
