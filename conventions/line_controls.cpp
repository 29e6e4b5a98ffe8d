#include "line_controls.h"

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace marvolt {

std::size_t nextLineControl(const char* data, std::size_t from, std::size_t size) {
#if defined(__x86_64__)
    const __m128i lineFeed = _mm_set1_epi8(kLineFeed);
    const __m128i carriageReturn = _mm_set1_epi8(kCarriageReturn);
    const __m128i endOfFile = _mm_set1_epi8(kEndOfFile);
    for (; from + 16 <= size; from += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from));
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(chunk, lineFeed), _mm_cmpeq_epi8(chunk, carriageReturn)),
            _mm_cmpeq_epi8(chunk, endOfFile));
        if (const int mask = _mm_movemask_epi8(hits)) return from + __builtin_ctz(mask);
    }
#endif
    for (; from < size; ++from) {
        const char byte = data[from];
        if (byte == kLineFeed || byte == kCarriageReturn || byte == kEndOfFile) return from;
    }
    return size;
}

namespace {

// The masks of the bytes from `at` on, a byte at a time.
void markBytewise(const char* data, std::size_t at, std::size_t size, std::uint64_t* masks) {
    for (; at < size; at += 64) {
        std::uint64_t mask = 0;
        for (std::size_t i = 0; i < 64 && at + i < size; ++i) {
            const char byte = data[at + i];
            if (byte == kLineFeed || byte == kCarriageReturn || byte == kEndOfFile)
                mask |= std::uint64_t{1} << i;
        }
        masks[at / 64] = mask;
    }
}

#if defined(__x86_64__)
void markSse2(const char* data, std::size_t size, std::uint64_t* masks) {
    const __m128i lineFeed = _mm_set1_epi8(kLineFeed);
    const __m128i carriageReturn = _mm_set1_epi8(kCarriageReturn);
    const __m128i endOfFile = _mm_set1_epi8(kEndOfFile);
    std::size_t at = 0;
    for (; at + 64 <= size; at += 64) {
        std::uint64_t mask = 0;
        for (int part = 0; part < 4; ++part) {
            const __m128i chunk =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + 16 * part));
            const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, lineFeed),
                                                           _mm_cmpeq_epi8(chunk, carriageReturn)),
                                              _mm_cmpeq_epi8(chunk, endOfFile));
            mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(hits)))
                    << (16 * part);
        }
        masks[at / 64] = mask;
    }
    markBytewise(data, at, size, masks);
}

const auto marker = markSse2;
#else
void markAll(const char* data, std::size_t size, std::uint64_t* masks) {
    markBytewise(data, 0, size, masks);
}
const auto marker = markAll;
#endif

}  // namespace

void markLineControls(const char* data, std::size_t size, std::uint64_t* masks) {
    marker(data, size, masks);
}

}  // namespace marvolt
