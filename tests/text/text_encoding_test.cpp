#include "text_encoding.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>

#include "wide_text.h"
#else
#include <iconv.h>
#endif

namespace marvolt {
namespace {

TEST(CodePage, PolishLettersRoundTrip) {
    const std::string utf8 = "ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ";
    const std::string bytes =
        "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF \xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF";
    EXPECT_EQ(utf8ToCp1250(utf8), bytes);
    EXPECT_EQ(cp1250ToUtf8(bytes), utf8);
    EXPECT_EQ(cp1250ToUtf8("PKT 1"), "PKT 1");
}

#ifdef _WIN32
// Windows' own table of the code page is an independent one.
std::string systemToUtf8(const std::string& bytes) {
    std::wstring wide(bytes.size(), L'\0');
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(1250, 0, bytes.data(), size, wide.data(), size);
    if (length == 0) return "no CP1250 in MultiByteToWideChar";
    wide.resize(static_cast<std::size_t>(length));
    return utf8Of(wide);
}
#else
// The system's iconv is an independent table of the code page.
std::string systemToUtf8(const std::string& bytes) {
    iconv_t converter = iconv_open("UTF-8", "CP1250");
    if (converter == reinterpret_cast<iconv_t>(-1)) return "no CP1250 in iconv";
    std::string input = bytes, output(bytes.size() * 4, '\0');
    char* in = input.data();
    char* out = output.data();
    std::size_t inLeft = input.size(), outLeft = output.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1)) return "iconv refused";
    output.resize(output.size() - outLeft);
    return output;
}
#endif

TEST(CodePage, EveryDefinedByteMatchesTheSystemTable) {
    for (int byte = 1; byte < 256; ++byte) {
        if (byte == 0x81 || byte == 0x83 || byte == 0x88 || byte == 0x90 || byte == 0x98) {
            continue;
        }
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(cp1250ToUtf8(one), systemToUtf8(one)) << "byte " << byte;
    }
}

TEST(CodePage, EveryByteSurvivesRoundTrip) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
    EXPECT_EQ(utf8ToCp1250(cp1250ToUtf8(all)), all);
    EXPECT_EQ(cp1250ToUtf8("\x81\x98"), "\xC2\x81\xC2\x98");  // undefined: C1 controls
}

TEST(CodePage, UnencodableAndInvalidBecomeQuestionMarks) {
    const struct {
        std::string utf8;
        std::string bytes;
    } rows[] = {
        {"€–„”", "\x80\x96\x84\x94"},
        {"Ä ß", "\xC4 \xDF"},
        {"日本", "??"},
        {"a😀b", "a?b"},  // a four-byte character is one '?'
        {"ñ", "?"},      // Latin-1 letter not in the code page
        {"\xFF", "?"},
        {"x\xC3", "x?"},               // cut-off sequence at the end
        {"\xC3(", "?("},               // lead byte without its continuation
        {"\xC0\x80", "??"},            // overlong encoding of NUL
        {"\xED\xA0\x80", "???"},       // surrogate half
        {"\xF4\x90\x80\x80", "????"},  // beyond U+10FFFF
        {"\x80", "?"},                 // stray continuation byte
    };
    for (const auto& row : rows) EXPECT_EQ(utf8ToCp1250(row.utf8), row.bytes) << row.utf8;
}

}  // namespace
}  // namespace marvolt
