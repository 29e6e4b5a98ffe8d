#include "line_list.h"

#include <new>

#include "block_writer.h"
#include "failure.h"
#include "file_path.h"
#include "line_reader.h"
#include "temporary_file.h"

namespace marvolt {

namespace {

TextFileLines readAll(const std::string& path, TextBytes textBytes) {
    try {
        LineReader reader(path, LineReader::kBlockSize, textBytes);
        TextFileLines text;
        // The lines' text is never longer than the file (UTF-16 made UTF-8: half again).
        const auto size = static_cast<std::size_t>(reader.identity().size);
        text.lines.reserve(textBytes == TextBytes::AsTheyAre ? size : size + size / 2);
        LinePiece piece;
        while (reader.next(piece)) {
            if (piece.first)
                text.lines.add(piece.text);
            else
                text.lines.extendLast(piece.text);
        }
        text.unicode = reader.byteOrderMark() != ByteOrderMark::None;
        return text;
    } catch (const std::bad_alloc&) {
        throw Failure("Za mało pamięci, by wczytać plik \"" + fullPath(path) + "\".");
    }
}

}  // namespace

LineList readLines(const std::string& path) { return readAll(path, TextBytes::AsTheyAre).lines; }

TextFileLines readTextLines(const std::string& path) {
    return readAll(path, TextBytes::ByByteOrderMark);
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
