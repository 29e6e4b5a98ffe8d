#pragma once
// A time table with the cursor a grid moves over it, and the helpers the tests of the table,
// its cursor and its cell texts share.

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "cell_text.h"
#include "date_time.h"
#include "table_cursor.h"
#include "time_table.h"

namespace marvolt::testing {

using Names = std::vector<std::string>;

struct GridTable {
    TimeTable table{LocaleSettings{}};
    TableCursor cursor{table};

    // An open table with a record for each point (name, STOP), appended and posted in turn.
    explicit GridTable(std::initializer_list<std::pair<std::string, std::string>> points = {}) {
        table.open();
        for (const auto& [name, stop] : points) addPoint(name, stop);
    }

    void addPoint(const std::string& name, const std::string& stop) {
        cursor.append();
        table.setText(Field::Punkt, name);
        table.setText(Field::Stop, stop);
        table.post();
    }

    // A field of the cursor's record as the grid shows it ("" when there is none).
    std::string text(Field field) const {
        return cursor.currentRow() < 0 ? std::string()
                                       : cellText(table, cursor.currentRow(), field);
    }
    // A time of the cursor's record as a date-time value (0.0 when empty or there is none).
    double time(Field field) const {
        if (cursor.currentRow() < 0) return 0.0;
        const auto& milliseconds = table.row(cursor.currentRow()).time(field);
        return milliseconds ? timeValue(*milliseconds) : 0.0;
    }

    // The rows as a grid shows them.
    Names rows() const {
        Names names;
        for (int row = 0; row < table.rowCount(); ++row)
            names.push_back(cellText(table, row, Field::Punkt));
        return names;
    }

    // The records as the navigator walks them: first, then next until the end mark.
    Names walk() {
        Names names;
        // Bounded, so that a missing end mark fails instead of looping.
        const auto bound = static_cast<std::size_t>(table.rowCount());
        for (cursor.first(); !cursor.eof() && names.size() <= bound; cursor.next())
            names.push_back(text(Field::Punkt));
        return names;
    }
};

}  // namespace marvolt::testing
