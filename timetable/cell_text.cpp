#include "cell_text.h"

#include "date_time.h"

namespace marvolt {

std::string cellText(const TimeTable& table, int row, Field field) {
    const TimeRecord& record = table.row(row);
    if (field == Field::Punkt) return record.punkt;
    const auto& milliseconds = record.time(field);
    return milliseconds ? longTimeText(*milliseconds, table.locale()) : std::string();
}

}  // namespace marvolt
