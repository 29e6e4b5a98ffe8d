#include "numbers.h"

#include <gtest/gtest.h>

#include "failure.h"

namespace marvolt {
namespace {

TEST(ReadInteger, AcceptsDecimalAndHexadecimal) {
    const struct {
        std::string text;
        std::int32_t value;
    } rows[] = {
        {"0", 0},
        {"07", 7},
        {"  42", 42},
        {"+15", 15},
        {"-15", -15},
        {"000000000000123", 123},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"$1F", 31},
        {"x1f", 31},
        {"X10", 16},
        {"0x7FFFFFFF", 2147483647},
        {"0XaB", 171},
        {"-$80000000", -2147483647 - 1},
        {" -0x10", -16},
    };
    for (const auto& row : rows) EXPECT_EQ(readInteger(row.text), row.value) << row.text;
}

TEST(ReadInteger, RefusesEverythingElseWithText) {
    const std::string rows[] = {"",
                                " ",
                                "7 ",
                                "+",
                                "-",
                                "1 2",
                                "12a",
                                "$",
                                "0x",
                                "$G1",
                                "- 5",
                                "\t5",
                                "2147483648",
                                "-2147483649",
                                "$80000000",
                                "0xFFFFFFFF",
                                "99999999999999999999",
                                "1.5",
                                "1e3",
                                "٣"};
    for (const auto& text : rows) {
        try {
            readInteger(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.text(), "'" + text + "' is not a valid integer value");
        }
    }
}

}  // namespace
}  // namespace marvolt
