#include "whole_file_lines.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "line_controls.h"
#include "regular_file.h"

namespace marvolt::oracle {

namespace {

// The next LF, CR or 0x1A at or after `from`; `size` when there is none.
std::size_t nextLineControl(const char* data, std::size_t from, std::size_t size) {
    for (; from < size; ++from) {
        const char byte = data[from];
        if (byte == kLineFeed || byte == kCarriageReturn || byte == kEndOfFile) return from;
    }
    return size;
}

}  // namespace

WholeFileLines WholeFileLines::fromBytes(std::string_view bytes) {
    WholeFileLines list;
    list.bytes_.assign(bytes);
    char* const data = list.bytes_.data();
    const std::size_t size = list.bytes_.size();

    // From one line control to the next. Lines stay where they are, terminators and all; only
    // a line holding a lone CR is squeezed in place.
    std::size_t read = 0;
    while (read < size) {
        if (data[read] == kEndOfFile) {
            if (read != size - 1) list.droppedBytes_ = true;
            break;
        }
        const std::size_t start = read;
        std::size_t textEnd = size;
        std::size_t next = size;
        bool loneCarriageReturn = false;
        for (std::size_t at = start; (at = nextLineControl(data, at, size)) < size;) {
            if (data[at] == kLineFeed) {
                textEnd = at;
                next = at + 1;
                break;
            }
            if (data[at] == kCarriageReturn) {
                if (at + 1 < size && data[at + 1] == kLineFeed) {
                    textEnd = at;
                    next = at + 2;
                    break;
                }
                loneCarriageReturn = true;
                ++at;
                continue;
            }
            // 0x1A inside a line ends its text; the rest of the physical line is skipped.
            if (at != size - 1) list.droppedBytes_ = true;
            textEnd = at;
            const std::size_t lineFeed = list.bytes_.find(kLineFeed, at);
            next = lineFeed == std::string::npos ? size : lineFeed + 1;
            break;
        }
        if (loneCarriageReturn) {
            list.droppedBytes_ = true;
            textEnd = static_cast<std::size_t>(
                std::remove(data + start, data + textEnd, kCarriageReturn) - data);
        }
        list.starts_.push_back(start);
        list.ends_.push_back(textEnd);
        read = next;
    }
    return list;
}

WholeFileLines readWholeFile(const std::string& path) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    const std::optional<FileIdentity> identity = identityAt(path);
    if (!in || !identity) throw std::runtime_error("cannot read " + path);
    // In one read of the size the file states, then whatever it has beyond that.
    std::string bytes(static_cast<std::size_t>(identity->size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in) bytes.append(std::istreambuf_iterator<char>(in), {});
    WholeFileLines lines = WholeFileLines::fromBytes(bytes);
    lines.identity_ = *identity;
    return lines;
}

}  // namespace marvolt::oracle
