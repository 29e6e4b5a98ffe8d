#include "rinex_samples.h"

#include <cstdio>

#include "cell_text.h"

namespace marvolt::testing {

std::string headerRecord(std::string_view values, std::string_view label) {
    std::string record(values);
    record.resize(60, ' ');
    return record + std::string(label);
}

std::string firstObservationRecord(int year, int month, int day, int hour, int minute,
                                   std::string_view seconds) {
    char values[64];
    std::snprintf(values, sizeof values, "%6d%6d%6d%6d%6d%13.*s     GPS", year, month, day, hour,
                  minute, static_cast<int>(seconds.size()), seconds.data());
    return headerRecord(values, "TIME OF FIRST OBS");
}

std::string epochLine(int year, int month, int day, int hour, int minute, int second,
                      Padding padding, char flag) {
    const char* format = padding == Padding::Blank ? " %02d%3d%3d%3d%3d%11.7f  %c  1G05"
                                                   : " %02d %02d %02d %02d %02d %010.7f  %c  1G05";
    char line[64];
    std::snprintf(line, sizeof line, format, year % 100, month, day, hour, minute,
                  static_cast<double>(second), flag);
    return line;
}

std::string epochRecord(int year, int month, int day, int hour, int minute, int second,
                        Padding padding, char flag, int count) {
    const char* format = padding == Padding::Blank ? "> %04d%3d%3d%3d%3d%11.7f  %c%3d"
                                                   : "> %04d %02d %02d %02d %02d %010.7f  %c%3d";
    char line[64];
    std::snprintf(line, sizeof line, format, year, month, day, hour, minute,
                  static_cast<double>(second), flag, count);
    return line;
}

std::string joinLines(const std::vector<std::string>& lines, std::string_view terminator) {
    std::string text;
    for (const auto& line : lines) text += line + std::string(terminator);
    return text;
}

void addPoints(TimeTable& table, const std::vector<Point>& points) {
    for (const auto& point : points) {
        table.insert(0);
        table.setText(Field::Punkt, point.name);
        table.setText(Field::Stop, point.stop);
        table.setText(Field::Go, point.go);
        table.post();
    }
}

std::vector<std::string> tableRows(const TimeTable& table) {
    std::vector<std::string> rows;
    for (int row = 0; row < table.rowCount(); ++row) {
        std::string text = cellText(table, row, Field::Punkt);
        for (const Field field : {Field::Stop, Field::Go, Field::Stop2, Field::Go2})
            text += " " + (cellText(table, row, field).empty() ? "-" : cellText(table, row, field));
        rows.push_back(text);
    }
    return rows;
}

}  // namespace marvolt::testing
