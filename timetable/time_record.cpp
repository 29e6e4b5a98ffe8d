#include "time_record.h"

namespace marvolt {

namespace {

// STOP, GO, STOP2 and GO2 follow PUNKT; PUNKT itself has no time (at() refuses it).
std::size_t timeIndex(Field field) { return static_cast<std::size_t>(field) - 1; }

}  // namespace

const std::optional<std::int32_t>& TimeRecord::time(Field field) const {
    return times.at(timeIndex(field));
}

std::optional<std::int32_t>& TimeRecord::time(Field field) { return times.at(timeIndex(field)); }

}  // namespace marvolt
