#include "solution.h"

#include <optional>
#include <string_view>
#include <vector>

#include "failure.h"
#include "line_reader.h"
#include "services.h"
#include "solution_nmea.h"
#include "solution_pos.h"

namespace marvolt {
namespace {

constexpr std::size_t kLongestLine = 4096;  // longer lines are unreadable
constexpr std::size_t kShownBadLines = 10;
constexpr std::string_view kReferencePosition = "% ref pos";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The lines of one solution file, in order, turned into epochs.
class SolutionStream {
  public:
    SolutionStream(const std::string& path, double observationDate,
                   const std::function<void(const SolutionEpoch&)>& epoch, Services& services)
        : path_(path),
          epoch_(epoch),
          counted_([this](const SolutionEpoch& e) { take(e); }),
          dating_(path, observationDate, counted_),
          badLines_(services) {}

    // One line of the file (its number counted from 1), or nullopt for one too long to read.
    void line(std::optional<std::string_view> text, std::size_t number);
    void finish();

  private:
    void take(const SolutionEpoch& epoch) {
        ++epochs_;
        epoch_(epoch);
    }
    void header(std::string_view text);
    void nmea(std::string_view text, std::size_t number);
    // The file shows itself a solution: the bad lines met so far are reported now.
    void recognised();
    void badLine(std::size_t number);
    void show(std::size_t number);

    const std::string& path_;
    const std::function<void(const SolutionEpoch&)>& epoch_;
    const std::function<void(const SolutionEpoch&)> counted_;
    NmeaDating dating_;
    MessageSeries badLines_;
    std::optional<PosLineReader> pos_;
    std::string referencePosition_;  // the text of the last "% ref pos" line
    bool recognised_ = false;
    std::vector<std::size_t> waiting_;  // bad lines met before the file showed itself
    std::size_t bad_ = 0;               // bad lines in all
    std::size_t epochs_ = 0;
    SolutionEpoch scratch_;
    NmeaSentence sentence_;
};

void SolutionStream::line(std::optional<std::string_view> text, std::size_t number) {
    if (!text) return badLine(number);
    std::string_view t = *text;
    while (!t.empty() && isBlank(t.back())) t.remove_suffix(1);
    while (!t.empty() && isBlank(t.front())) t.remove_prefix(1);
    if (t.empty()) return;
    if (t[0] == '%') return header(t);
    if (t[0] == '$') return nmea(t, number);
    if (pos_ && pos_->read(t, scratch_)) return take(scratch_);
    badLine(number);
}

void SolutionStream::header(std::string_view text) {
    if (text.substr(0, kReferencePosition.size()) == kReferencePosition) {
        const std::size_t colon = text.find(':');
        referencePosition_ = colon == std::string_view::npos ? "" : text.substr(colon + 1);
        return;
    }
    const std::optional<PosColumns> columns = readPosTitle(text);
    if (!columns) return;
    if (columns->timeSystem != "GPST" && columns->timeSystem != "UTC")
        throw Failure("Plik \"" + path_ + "\" podaje czas w systemie " + columns->timeSystem +
                      "; czytam rozwiązania w czasie GPST albo UTC.");
    std::optional<Ecef> origin;
    if (columns->form == PositionForm::Baseline)
        origin = readReferencePosition(referencePosition_, columns->separator);
    pos_.emplace(*columns, origin);
    recognised();
}

void SolutionStream::nmea(std::string_view text, std::size_t number) {
    if (!readNmeaSentence(text, sentence_)) return badLine(number);
    recognised();
    if (sentence_.kind == NmeaSentence::Kind::Position)
        dating_.position(sentence_.timeOfDay, sentence_.epoch);
    else if (sentence_.kind == NmeaSentence::Kind::Date)
        dating_.date(sentence_.day + sentence_.timeOfDay);
}

void SolutionStream::recognised() {
    if (recognised_) return;
    recognised_ = true;
    for (std::size_t number : waiting_) show(number);
    waiting_.clear();
}

void SolutionStream::badLine(std::size_t number) {
    if (++bad_ > kShownBadLines) return;
    if (recognised_)
        show(number);
    else
        waiting_.push_back(number);
}

void SolutionStream::show(std::size_t number) {
    badLines_.show("Wiersz " + std::to_string(number) +
                   " pliku rozwiązania ma nieprawidłowy format. Pominąłem go.");
}

void SolutionStream::finish() {
    dating_.finish();
    if (recognised_ && bad_ > kShownBadLines)
        badLines_.show("Pominąłem jeszcze " + std::to_string(bad_ - kShownBadLines) +
                       " nieczytelnych wierszy pliku rozwiązania.");
    if (epochs_ == 0)
        throw Failure("Plik \"" + path_ +
                      "\" nie zawiera rozwiązania (pliku .pos z RTKLIB ani zdań NMEA GGA).");
}

}  // namespace

void readSolution(const std::string& path, double observationDate,
                  const std::function<void(const SolutionEpoch&)>& epoch, Services& services) {
    SolutionStream stream(path, observationDate, epoch, services);
    LineReader reader(path);
    LinePiece piece;
    std::string pieces;  // a line that comes in several pieces, collected
    bool tooLong = false;
    while (reader.next(piece)) {
        if (piece.first && piece.last) {
            stream.line(piece.text, piece.line + 1);
            continue;
        }
        if (piece.first) {
            pieces.clear();
            tooLong = false;
        }
        tooLong = tooLong || pieces.size() + piece.text.size() > kLongestLine;
        if (!tooLong) pieces.append(piece.text);
        if (piece.last)
            stream.line(tooLong ? std::nullopt : std::optional<std::string_view>(pieces),
                        piece.line + 1);
    }
    stream.finish();
}

}  // namespace marvolt
