#include "utf16_text.h"

namespace marvolt {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char16_t value) { return value >= 0xD800 && value <= 0xDBFF; }
bool isLowSurrogate(char16_t value) { return value >= 0xDC00 && value <= 0xDFFF; }

}  // namespace

std::size_t Utf16Text::put(char32_t code, char* out) {
    if (code < 0x80) {
        out[0] = static_cast<char>(code);
        return 1;
    }
    if (code < 0x800) {
        out[0] = static_cast<char>(0xC0 | (code >> 6));
        out[1] = static_cast<char>(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (code >> 12));
        out[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (code & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (code >> 18));
    out[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (code & 0x3F));
    return 4;
}

std::size_t Utf16Text::unit(char16_t value, char* out) {
    std::size_t written = 0;
    if (highSurrogate_ != 0) {
        const char16_t high = highSurrogate_;
        highSurrogate_ = 0;
        if (isLowSurrogate(value))
            return put(0x10000 + ((char32_t{high} - 0xD800) << 10) + (value - 0xDC00), out);
        written = put(kReplacement, out);
    }
    if (isHighSurrogate(value)) {
        highSurrogate_ = value;
        return written;
    }
    return written + put(isLowSurrogate(value) ? kReplacement : char32_t{value}, out + written);
}

std::size_t Utf16Text::decode(const char* bytes, std::size_t size, bool last, char* out) {
    std::size_t written = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (!oddByte_) {
            held_ = byte;
            oddByte_ = true;
            continue;
        }
        oddByte_ = false;
        const auto value =
            static_cast<char16_t>(bigEndian_ ? (held_ << 8) | byte : (byte << 8) | held_);
        written += unit(value, out + written);
    }
    if (last) {
        if (highSurrogate_ != 0 || oddByte_) written += put(kReplacement, out + written);
        highSurrogate_ = 0;
        oddByte_ = false;
    }
    return written;
}

}  // namespace marvolt
