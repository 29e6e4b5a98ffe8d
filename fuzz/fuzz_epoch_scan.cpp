// The scan of any file in small blocks finds exactly the data epochs (and, in a file read
// without loss, where they stand) that a plain look at every line of the whole file finds; line
// reading in blocks gives the lines of line reading of the whole file.

#include "epoch_scan.h"
#include "failure.h"
#include "fuzz_input.h"
#include "line_reader.h"
#include "rinex_oracle.h"
#include "rinex_version.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace marvolt;
    const std::string_view bytes = fuzz::textOf(data, size);
    const std::string file = fuzz::writeScratchFile("survey.obs", bytes);
    const auto lines = oracle::WholeFileLines::fromBytes(bytes);
    // The block size comes from the input, from 2 bytes up.
    const std::size_t block = 2 + (size == 0 ? 0 : data[0] % 61);

    LineReader reader(file, block);
    LinePiece piece;
    std::string line;
    std::size_t count = 0;
    while (reader.next(piece)) {
        if (piece.first) line.clear();
        line.append(piece.text);
        if (!piece.last) continue;
        fuzz::require(piece.line == count && count < lines.size() && line == lines[count],
                      "the lines of line reading");
        ++count;
    }
    fuzz::require(count == lines.size() && reader.droppedBytes() == lines.droppedBytes(),
                  "as many lines, the same bytes dropped");

    const EpochLayout* layout = nullptr;
    try {
        layout = &layoutOfFile(lines.empty() ? "" : lines[0], file);
    } catch (const Failure&) {
        return 0;  // a file the scan refuses too
    }
    std::vector<ScannedEpoch> plain;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (oracle::isDataEpoch(*layout, lines, i))
            if (const auto code = layout->epochCode(lines[i])) plain.push_back({i, 0, *code});
    std::vector<ScannedEpoch> scanned;
    scanEpochs(
        file,
        [](std::size_t, std::string_view, const EpochLayout&) { return NextLines::EpochShaped; },
        [&](const ScannedEpoch& epoch) { scanned.push_back(epoch); }, block);
    fuzz::require(scanned.size() == plain.size(), "as many data epochs");
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const ScannedEpoch& epoch = scanned[i];
        fuzz::require(epoch.line == plain[i].line && epoch.code == plain[i].code,
                      "the same data epochs");
        // (Where a lone CR was left out, a line is no longer the bytes it stands on.)
        fuzz::require(lines.droppedBytes() ||
                          bytes.substr(epoch.offset, lines[epoch.line].size()) == lines[epoch.line],
                      "each where its line stands");
    }
    return 0;
}
