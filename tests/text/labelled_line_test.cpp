#include "labelled_line.h"

#include <gtest/gtest.h>

#include <string>

namespace marvolt {
namespace {

TEST(LabelledLine, TheLabelStandsFromColumn61) {
    const std::string text(60, ' ');
    const struct {
        std::string line;
        bool labelled;
    } rows[] = {
        {text + "COMMENT", true},
        {text + "COMMENT             ", true},
        {text + "COMMENTS", true},            // the label begins so
        {text + " COMMENT", false},           // one column late
        {text.substr(1) + "COMMENT", false},  // one column early
        {text + "COMMEN", false},             // cut short
        {text + "comment", false},
        {"", false},
    };
    for (const auto& row : rows) EXPECT_EQ(hasLabel(row.line, "COMMENT"), row.labelled) << row.line;
}

}  // namespace
}  // namespace marvolt
