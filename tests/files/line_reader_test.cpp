#include "line_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "line_controls.h"
#include "temp_folder.h"
#include "whole_file_lines.h"

namespace marvolt {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;
using oracle::WholeFileLines;

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

// The rules on bytes chosen to show each, read in blocks of 2 bytes and of the usual size;
// the whole-file reading the other tests compare with follows the same table.
TEST(LineReading, TerminatorsCarriageReturnsAndEndOfFileByte) {
    const testing::TempFolder folder;
    const struct {
        std::string bytes;
        Lines lines;
        bool dropped;
    } rows[] = {
        {"", {}, false},
        {"\n", {""}, false},
        {"\r\n", {""}, false},
        {"a", {"a"}, false},
        {"a\nb", {"a", "b"}, false},    // last line without terminator
        {"a\nb\n", {"a", "b"}, false},  // no extra empty last line
        {"a\r\nb\r\n", {"a", "b"}, false},
        {"a\n\n\nb\n", {"a", "", "", "b"}, false},  // empty lines inside are kept
        {"a\r\n\r\nb", {"a", "", "b"}, false},
        {"a\rb\rc\r", {"abc"}, true},    // CR-only line ends: one line
        {"a\r\rb\r\r\n", {"ab"}, true},  // only the CR right before LF ends
        {"\r", {""}, true},
        {"a\r\n\x1A", {"a"}, false},  // CR LF then 0x1A: no extra line
        {"\x1A", {}, false},
        {"a\n\x1A"
         "b\nc\n",
         {"a"},
         true},  // 0x1A at a line start ends the file
        {"ab\x1A"
         "cd\r\nef\n",
         {"ab", "ef"},
         true},                     // inside a line: rest of it skipped
        {"ab\x1A", {"ab"}, false},  // the very last byte drops nothing
        {"ab\x1A\n", {"ab"}, true},
        {"a\r\x1A"
         "b\n",
         {"a"},
         true},
        {"\x1A\n", {}, true},
        {"x\0y\n\xB9\xE6\n"s, {"x\0y"s, "\xB9\xE6"}, false},  // bytes as they are
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.bytes));
        const std::string file = folder.write("lines.txt", row.bytes);
        for (const std::size_t block : {std::size_t{2}, LineReader::kBlockSize}) {
            const Read read = readInBlocks(file, block);
            EXPECT_EQ(read.lines, row.lines) << "in blocks of " << block;
            EXPECT_EQ(read.dropped, row.dropped) << "in blocks of " << block;
        }
        const WholeFileLines whole = WholeFileLines::fromBytes(row.bytes);
        Lines wholeLines;
        for (std::size_t i = 0; i < whole.size(); ++i) wholeLines.emplace_back(whole[i]);
        EXPECT_EQ(wholeLines, row.lines);
        EXPECT_EQ(whole.droppedBytes(), row.dropped);
        EXPECT_EQ(whole.empty(), row.lines.empty());
    }
}

// The rules applied one byte at a time, the plainest reading there is.
Lines readByteByByte(const std::string& bytes, bool& dropped) {
    Lines lines;
    std::string line;
    bool inLine = false, skipping = false;
    dropped = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        const bool last = i + 1 == bytes.size();
        if (!inLine) {
            if (c == '\x1A') {
                dropped = dropped || !last;
                break;
            }
            inLine = true;
            line.clear();
        }
        if (c == '\n') {
            lines.push_back(line);
            inLine = skipping = false;
        } else if (skipping) {
            continue;
        } else if (c == '\x1A') {
            skipping = true;
            dropped = dropped || !last;
        } else if (c == '\r') {
            if (last || bytes[i + 1] != '\n') dropped = true;
        } else {
            line += c;
        }
    }
    if (inLine) lines.push_back(line);
    return lines;
}

// Mostly text with now and then a line control: the reader, in blocks and in one block, and
// the whole-file reading give the lines and the dropped bytes of the byte-at-a-time rules.
TEST(LineReading, RandomFilesFollowTheRules) {
    const testing::TempFolder folder;
    std::mt19937 random(20120403);
    const char alphabet[] = {'a', 'b', ' ', '\n', '\n', '\r', '\x1A'};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes(random() % 40, ' ');
        for (char& c : bytes) {
            c = random() % 8 == 0 ? alphabet[random() % sizeof alphabet] : 'a' + random() % 26;
            if (round % 2 == 0 && c == '\x1A') c = 'z';
        }
        SCOPED_TRACE(::testing::PrintToString(bytes));
        bool dropped = false;
        const Lines expected = readByteByByte(bytes, dropped);
        const std::string file = folder.write("lines.txt", bytes);
        for (const std::size_t block : {std::size_t{5}, LineReader::kBlockSize}) {
            const Read read = readInBlocks(file, block);
            ASSERT_EQ(read.lines, expected);
            ASSERT_EQ(read.dropped, dropped);
        }
        const WholeFileLines whole = WholeFileLines::fromBytes(bytes);
        ASSERT_EQ(whole.size(), expected.size());
        for (std::size_t i = 0; i < whole.size(); ++i) ASSERT_EQ(whole[i], expected[i]);
        ASSERT_EQ(whole.droppedBytes(), dropped);
    }
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
        const WholeFileLines whole = WholeFileLines::fromBytes(bytes);
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

// A file read by its byte-order mark: UTF-16 either way round becomes UTF-8 whatever the
// block size (a unit or a surrogate pair cut by a block's end), a surrogate without its
// partner U+FFFD; a UTF-8 mark is left out; a file without a mark keeps its bytes.
TEST(LineReader, TextByItsByteOrderMark) {
    const testing::TempFolder folder;
    const std::u16string text = u"a\r\n\u0141\U0001F600b\nc\xD800\r\nd";
    const Lines decoded = {"a", "\u0141\U0001F600b", "c\uFFFD", "d"};
    const struct {
        std::string bytes;
        ByteOrderMark mark;
        Lines lines;
    } rows[] = {
        {testing::utf16Bytes(text, false), ByteOrderMark::Utf16LittleEndian, decoded},
        {testing::utf16Bytes(text, true), ByteOrderMark::Utf16BigEndian, decoded},
        {testing::utf16Bytes(u"x", false) + "\n",
         ByteOrderMark::Utf16LittleEndian,
         {"x\uFFFD"}},  // odd end
        {"\xEF\xBB\xBF"
         "1 \xC5\x81\r\n2\n",
         ByteOrderMark::Utf8,
         {"1 \xC5\x81", "2"}},
        {"\xFF\xFF\xFE\n\xEF\xBB\xBF", ByteOrderMark::None, {"\xFF\xFF\xFE", "\xEF\xBB\xBF"}},
    };
    for (const auto& row : rows) {
        for (const std::size_t blockSize : {2, 3, 5, 7, 4096}) {
            SCOPED_TRACE(::testing::Message() << row.bytes << " in blocks of " << blockSize);
            LineReader reader(folder.write("t.txt", row.bytes), blockSize,
                              TextBytes::ByByteOrderMark);
            Lines lines;
            LinePiece piece;
            while (reader.next(piece)) {
                if (piece.first) lines.emplace_back();
                lines.back().append(piece.text);
            }
            EXPECT_EQ(lines, row.lines);
            EXPECT_EQ(reader.byteOrderMark(), row.mark);
        }
    }
}

}  // namespace
}  // namespace marvolt
