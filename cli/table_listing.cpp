#include "table_listing.h"

#include "cell_text.h"
#include "text_encoding.h"

namespace marvolt::cli {

void printTable(const TimeTable& table, std::ostream& out) {
    out << "Punkt\tStop (zeg.)\tGo (zeg.)\tStop (GMT)\tGo (GMT)\n";
    for (int row = 0; row < table.rowCount(); ++row) {
        out << cp1250ToUtf8(cellText(table, row, Field::Punkt));
        for (Field field : {Field::Stop, Field::Go, Field::Stop2, Field::Go2})
            out << '\t' << cellText(table, row, field);
        out << '\n';
    }
}

}  // namespace marvolt::cli
