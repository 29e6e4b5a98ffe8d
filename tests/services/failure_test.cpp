#include "failure.h"

#include <gtest/gtest.h>

namespace marvolt {
namespace {

TEST(ErrorBoxText, AppendsPointOnlyAfterBytesSortingAfterPoint) {
    const struct {
        std::string text;
        std::string shown;
    } rows[] = {
        {"File not found", "File not found."},
        {"I/O error 32", "I/O error 32."},  // '2' sorts after '.'
        {"'25:00' is not a valid time", "'25:00' is not a valid time."},
        {"Koniec.", "Koniec."},  // already ends in a point
        {"(brak)", "(brak)"},    // ')' sorts before '.'
        {"trailing blank ", "trailing blank "},
        {"dash-", "dash-"},     // '-' is 0x2D
        {"slash/", "slash/."},  // '/' is 0x2F
        {"zażółć", "zażółć."},  // last byte 0x87 compared unsigned
        {"", ""},
    };
    for (const auto& row : rows) EXPECT_EQ(errorBoxText(row.text), row.shown) << row.text;
}

TEST(FailureType, CarriesUserText) {
    try {
        throw Failure("Nie znaleziono pliku");
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "Nie znaleziono pliku");
        EXPECT_EQ(dynamic_cast<const Failure&>(error).text(), "Nie znaleziono pliku");
    }
}

}  // namespace
}  // namespace marvolt
