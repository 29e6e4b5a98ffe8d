#include "line_controls.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace marvolt {

std::size_t nextLineControl(const char* data, std::size_t from, std::size_t size) {
#if defined(__SSE2__)
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

}  // namespace marvolt
