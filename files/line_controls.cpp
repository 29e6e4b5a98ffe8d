#include "line_controls.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace marvolt {

namespace {

constexpr std::size_t kStep = 64;

// The bytes of one 64-byte step as bit masks, bit i for byte i.
struct StepMasks {
    std::uint64_t lineFeeds = 0;
    std::uint64_t carriageReturns = 0;
    std::uint64_t endOfFiles = 0;
};

// The breaks of one step as bits; `lineFeedAfter` tells whether the byte after the step is
// an LF.
inline std::uint64_t breakBits(const StepMasks& masks, bool lineFeedAfter) {
    const std::uint64_t lineFeedNext =
        (masks.lineFeeds >> 1) | (static_cast<std::uint64_t>(lineFeedAfter) << (kStep - 1));
    return masks.lineFeeds | masks.endOfFiles | (masks.carriageReturns & ~lineFeedNext);
}

inline bool lineFeedAfterStep(const char* data, std::size_t at, std::size_t size) {
    return at + kStep < size && data[at + kStep] == kLineFeed;
}

// The positions of the bits, one by one.
inline std::size_t writeEachBreak(std::uint64_t bits, std::uint32_t at, std::uint32_t* out) {
    std::size_t count = 0;
    for (; bits != 0; bits &= bits - 1)
        out[count++] = at + static_cast<std::uint32_t>(__builtin_ctzll(bits));
    return count;
}

// The same where the processor counts bits in one instruction: four positions are written
// whatever the count, so that the usual step of one or two breaks takes no branch.
inline std::size_t writeBreaksCounted(std::uint64_t bits, std::uint32_t at, std::uint32_t* out) {
    const auto count = static_cast<std::size_t>(__builtin_popcountll(bits));
    for (std::size_t k = 0; k < 4; ++k) {
        out[k] = at + (bits ? static_cast<std::uint32_t>(__builtin_ctzll(bits)) : 0);
        bits &= bits - 1;
    }
    if (count > 4) writeEachBreak(bits, at, out + 4);
    return count;
}

// The breaks of data[at, size), a byte at a time.
std::size_t breaksBytewise(const char* data, std::size_t at, std::size_t size, std::uint32_t* out) {
    std::size_t count = 0;
    for (; at < size; ++at) {
        const char byte = data[at];
        if (byte == kLineFeed || byte == kEndOfFile ||
            (byte == kCarriageReturn && !(at + 1 < size && data[at + 1] == kLineFeed)))
            out[count++] = static_cast<std::uint32_t>(at);
    }
    return count;
}

std::size_t findBytewise(const char* data, std::size_t size, std::uint32_t* positions) {
    return breaksBytewise(data, 0, size, positions);
}

#if defined(__x86_64__)
std::uint64_t maskOf(__m128i hits) {
    return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(hits)));
}

StepMasks masksSse2(const char* step) {
    const __m128i lineFeed = _mm_set1_epi8(kLineFeed);
    const __m128i carriageReturn = _mm_set1_epi8(kCarriageReturn);
    const __m128i endOfFile = _mm_set1_epi8(kEndOfFile);
    StepMasks masks;
    for (std::size_t part = 0; part < 4; ++part) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(step + 16 * part));
        masks.lineFeeds |= maskOf(_mm_cmpeq_epi8(chunk, lineFeed)) << (16 * part);
        masks.carriageReturns |= maskOf(_mm_cmpeq_epi8(chunk, carriageReturn)) << (16 * part);
        masks.endOfFiles |= maskOf(_mm_cmpeq_epi8(chunk, endOfFile)) << (16 * part);
    }
    return masks;
}

std::size_t findSse2(const char* data, std::size_t size, std::uint32_t* positions) {
    std::size_t count = 0;
    std::size_t at = 0;
    for (; at + kStep <= size; at += kStep)
        count += writeEachBreak(breakBits(masksSse2(data + at), lineFeedAfterStep(data, at, size)),
                                static_cast<std::uint32_t>(at), positions + count);
    return count + breaksBytewise(data, at, size, positions + count);
}

__attribute__((target("avx2,popcnt,bmi"))) std::uint64_t maskOf(__m256i hits) {
    return static_cast<std::uint64_t>(static_cast<unsigned>(_mm256_movemask_epi8(hits)));
}

__attribute__((target("avx2,popcnt,bmi"))) StepMasks masksAvx2(const char* step) {
    const __m256i lineFeed = _mm256_set1_epi8(kLineFeed);
    const __m256i carriageReturn = _mm256_set1_epi8(kCarriageReturn);
    const __m256i endOfFile = _mm256_set1_epi8(kEndOfFile);
    StepMasks masks;
    for (std::size_t half = 0; half < 2; ++half) {
        const __m256i chunk =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(step + 32 * half));
        masks.lineFeeds |= maskOf(_mm256_cmpeq_epi8(chunk, lineFeed)) << (32 * half);
        masks.carriageReturns |= maskOf(_mm256_cmpeq_epi8(chunk, carriageReturn)) << (32 * half);
        masks.endOfFiles |= maskOf(_mm256_cmpeq_epi8(chunk, endOfFile)) << (32 * half);
    }
    return masks;
}

__attribute__((target("avx2,popcnt,bmi"))) std::size_t findAvx2(const char* data, std::size_t size,
                                                                std::uint32_t* positions) {
    std::size_t count = 0;
    std::size_t at = 0;
    for (; at + kStep <= size; at += kStep)
        count +=
            writeBreaksCounted(breakBits(masksAvx2(data + at), lineFeedAfterStep(data, at, size)),
                               static_cast<std::uint32_t>(at), positions + count);
    return count + breaksBytewise(data, at, size, positions + count);
}
#endif

LineBreakFinder bestFinder() {
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") &&
        __builtin_cpu_supports("bmi"))
        return findAvx2;
    return findSse2;
#else
    return findBytewise;
#endif
}

}  // namespace

std::size_t findLineBreaks(const char* data, std::size_t size, std::uint32_t* positions) {
    static const LineBreakFinder finder = bestFinder();
    return finder(data, size, positions);
}

std::vector<LineBreakFinder> lineBreakFinders() {
    std::vector<LineBreakFinder> finders{findBytewise};
#if defined(__x86_64__)
    finders.push_back(findSse2);
    if (bestFinder() == findAvx2) finders.push_back(findAvx2);
#endif
    return finders;
}

}  // namespace marvolt
