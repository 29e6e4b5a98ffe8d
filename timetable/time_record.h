#pragma once
// One surveyed point of the time table: its name and its four times.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace marvolt {

// The fields in their column order.
enum class Field { Punkt = 0, Stop, Go, Stop2, Go2 };
constexpr int kFieldCount = 5;
constexpr std::size_t kPunktSize = 10;  // bytes of a point name

struct TimeRecord {
    std::string punkt;  // Windows-1250 bytes, at most kPunktSize
    // STOP, GO, STOP2, GO2 as milliseconds since midnight; empty when null.
    std::array<std::optional<std::int32_t>, 4> times;
    // Typed into the grid by hand and not saved in a time file since.
    bool typed = false;

    const std::optional<std::int32_t>& time(Field field) const;
    std::optional<std::int32_t>& time(Field field);
};

}  // namespace marvolt
