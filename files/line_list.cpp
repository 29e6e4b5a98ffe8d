#include "line_list.h"

#include <new>

#include "block_writer.h"
#include "failure.h"
#include "file_path.h"
#include "line_reader.h"
#include "temporary_file.h"

namespace marvolt {

LineList readLines(const std::string& path) {
    try {
        LineReader reader(path);
        LineList lines;
        // The lines' text is never longer than the file.
        lines.reserve(static_cast<std::size_t>(reader.identity().size));
        LinePiece piece;
        while (reader.next(piece)) {
            if (piece.first)
                lines.add(piece.text);
            else
                lines.extendLast(piece.text);
        }
        return lines;
    } catch (const std::bad_alloc&) {
        throw Failure("Za mało pamięci, by wczytać plik \"" + fullPath(path) + "\".");
    }
}

void writeLines(const std::string& path, const LineList& lines) {
    const Replacement replacement = prepareReplacement(path);
    TemporaryFile file(replacement.target, path);
    BlockWriter writer(file.fd());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        writer.write(lines[i]);
        writer.endLine();
    }
    writer.flush();
    file.replaceTarget(replacement.ownership);
}

}  // namespace marvolt
