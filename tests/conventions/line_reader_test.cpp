#include "line_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "line_controls.h"
#include "line_list.h"
#include "temp_folder.h"

namespace marvolt {
namespace {

struct Read {
    std::vector<std::string> lines;
    std::vector<std::uint64_t> starts;  // where each line's first piece stands
    bool dropped = false;
    bool asIs = false;
};

Read readInBlocks(const std::string& file, std::size_t blockSize) {
    LineReader reader(file, blockSize);
    Read read;
    LinePiece piece;
    while (reader.next(piece)) {
        if (piece.first) {
            EXPECT_EQ(piece.line, read.lines.size());
            read.lines.emplace_back();
            read.starts.push_back(piece.offset);
        }
        read.lines.back().append(piece.text);
    }
    read.dropped = reader.droppedBytes();
    read.asIs = reader.writtenBackAsIs();
    return read;
}

// Bytes of LF, CR, 0x1A and letters in every order, read in blocks of every small size:
// the lines and the dropped bytes are those of line reading of the whole file, and a file is
// written back as it is exactly when line writing gives its own bytes.
TEST(LineReader, ReadsInBlocksWhatLineReadingReadsWhole) {
    const testing::TempFolder folder;
    std::mt19937 random(20261208);
    const char alphabet[] = {'\n', '\r', '\x1A', 'a', 'b'};
    std::vector<std::string> inputs = {
        "",     "a",       "\r\n",       "ab\r\n\r\n",        "a\r", "\r", "a\x1A",
        "\x1A", "a\n\x1A", "a\x1A\nb\n", "aaaaaaaa\r\nbb\r\n"};
    for (int i = 0; i < 3000; ++i) {
        std::string bytes(random() % 14, ' ');
        for (char& byte : bytes) byte = alphabet[random() % sizeof alphabet];
        inputs.push_back(bytes);
    }
    for (const std::string& bytes : inputs) {
        const std::string file = folder.write("lines.txt", bytes);
        const LineList whole = LineList::fromBytes(bytes);
        std::string written;
        for (std::size_t i = 0; i < whole.size(); ++i) written.append(whole[i]).append("\r\n");
        for (const std::size_t block : {2, 3, 4, 7, 64}) {
            SCOPED_TRACE(::testing::PrintToString(bytes) + " in blocks of " +
                         std::to_string(block));
            const Read read = readInBlocks(file, block);
            ASSERT_EQ(read.lines.size(), whole.size());
            for (std::size_t i = 0; i < whole.size(); ++i) EXPECT_EQ(read.lines[i], whole[i]);
            EXPECT_EQ(read.dropped, whole.droppedBytes());
            EXPECT_EQ(read.asIs, written == bytes);
        }
    }
}

// Every way of finding line breaks, on bytes of every length around the 64-byte steps, gives
// the positions a byte-by-byte look gives: LF, 0x1A, and a CR no LF follows.
TEST(LineBreaks, EveryWayFindsThemWhereTheBytesAre) {
    std::mt19937 random(20261208);
    const char alphabet[] = {'\n', '\r', '\x1A', 'a', ' ', '\n', '\r', 'b'};
    for (int i = 0; i < 2000; ++i) {
        std::string bytes(random() % 300, ' ');
        for (char& byte : bytes) byte = alphabet[random() % (i % 2 ? 8 : 3)];
        std::vector<std::uint32_t> expected;
        for (std::size_t at = 0; at < bytes.size(); ++at)
            if (bytes[at] == '\n' || bytes[at] == '\x1A' ||
                (bytes[at] == '\r' && (at + 1 == bytes.size() || bytes[at + 1] != '\n')))
                expected.push_back(static_cast<std::uint32_t>(at));
        for (const LineBreakFinder find : lineBreakFinders()) {
            std::vector<std::uint32_t> found(bytes.size() + 4);
            found.resize(find(bytes.data(), bytes.size(), found.data()));
            EXPECT_EQ(found, expected) << ::testing::PrintToString(bytes);
        }
    }
}

// Each line starts where the file has it, also when it is longer than a block.
TEST(LineReader, LinesLongerThanABlockComeInPiecesFromTheirPlace) {
    const testing::TempFolder folder;
    const std::string longLine(1000, 'x');
    const std::string file = folder.write("lines.txt", "ab\r\n" + longLine + "\r\ncd\r\n");
    const Read read = readInBlocks(file, 64);
    EXPECT_EQ(read.lines, (std::vector<std::string>{"ab", longLine, "cd"}));
    EXPECT_EQ(read.starts, (std::vector<std::uint64_t>{0, 4, 1006}));
    EXPECT_TRUE(read.asIs);
}

}  // namespace
}  // namespace marvolt
