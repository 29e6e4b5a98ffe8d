#pragma once
// The text of a file saved as UTF-16 (Windows Notepad's "Unicode"), turned into UTF-8 block
// by block as it is read, so that line reading goes on as for any other text.

#include <cstddef>

namespace marvolt {

class Utf16Text {
  public:
    // The most UTF-8 bytes that `size` bytes of UTF-16 become, with what was held back.
    static constexpr std::size_t maxDecodedSize(std::size_t size) { return size / 2 * 3 + 12; }

    explicit Utf16Text(bool bigEndian) : bigEndian_(bigEndian) {}

    // Writes to `out` the UTF-8 of the next `size` bytes; a byte or a high surrogate that its
    // partner may follow in the next bytes is held back for them. `last`: nothing follows,
    // and what is held back becomes U+FFFD, as does any surrogate without its partner.
    // Gives the number of bytes written (at most maxDecodedSize(size)).
    std::size_t decode(const char* bytes, std::size_t size, bool last, char* out);

  private:
    // Writes one character as UTF-8; gives its length.
    static std::size_t put(char32_t code, char* out);
    // Writes the unit, or pairs it with a held high surrogate.
    std::size_t unit(char16_t value, char* out);

    bool bigEndian_;
    bool oddByte_ = false;  // a byte held back until its unit's second byte comes
    unsigned char held_ = 0;
    char16_t highSurrogate_ = 0;  // a high surrogate held back for its low one (0: none)
};

}  // namespace marvolt
