#include "analysis.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "date_time.h"
#include "epoch_key.h"
#include "epoch_scan.h"
#include "event_records.h"
#include "observation_header.h"

namespace marvolt {

namespace {

// The key of a watch time moved onto the receiver's clock; none when the receiver time is
// below zero, which no epoch of the observation date has.
std::string receiverKey(const std::string& date, const std::optional<std::int32_t>& watch,
                        double shift) {
    const double time = (watch ? timeValue(*watch) : 0.0) + shift;
    if (time * kMillisecondsPerDay <= -0.5) return {};
    return epochKey(date, time);
}

// The STOP and GO keys of every record, and the data epochs found for them as the file goes
// by.
class EpochMatcher {
  public:
    EpochMatcher(const TimeTable& table, const EpochLayout& layout, double observationDate,
                 double shift) {
        const std::string date = layout.datePiece(observationDate);
        for (int i = 0; i < table.recordCount(); ++i) {
            const TimeRecord& record = table.record(i);
            PointEpochs point;
            point.record = static_cast<std::size_t>(i);
            point.punkt = record.punkt;
            point.stopKey = receiverKey(date, record.time(Field::Stop), shift);
            point.goKey = receiverKey(date, record.time(Field::Go), shift);
            want(layout, point.stopKey, points_.size(), Moment::Stop);
            want(layout, point.goKey, points_.size(), Moment::Go);
            points_.push_back(std::move(point));
        }
    }

    void add(const ScannedEpoch& epoch, AnalysisResult& result) {
        if (!mayBeWanted(epoch.code)) return;
        const auto wanted = wanted_.find(epoch.code);
        if (wanted == wanted_.end()) return;
        for (const auto& [point, moment] : wanted->second)
            (moment == Moment::Stop ? points_[point].stopLines : points_[point].goLines)
                .push_back(epoch.line);
        result.epochOffsets[epoch.line] = epoch.offset;
    }

    std::vector<PointEpochs> takePoints() { return std::move(points_); }

  private:
    void want(const EpochLayout& layout, const std::string& key, std::size_t point, Moment moment) {
        if (key.empty()) return;
        const auto code = layout.epochCode(key);
        if (!code) return;
        wanted_[*code].emplace_back(point, moment);
        const std::size_t bit = filterBit(*code);
        filter_[bit / 64] |= std::uint64_t{1} << (bit % 64);
    }

    // A quick no for most of the codes no key has: a day holds tens of thousands of epochs,
    // a survey a few hundred points. One bit for the keys whose codes share it.
    static constexpr unsigned kFilterBitsLog2 = 14;
    static std::size_t filterBit(std::uint64_t code) {
        return static_cast<std::size_t>((code * 0x9E3779B97F4A7C15u) >> (64 - kFilterBitsLog2));
    }
    bool mayBeWanted(std::uint64_t code) const {
        const std::size_t bit = filterBit(code);
        return (filter_[bit / 64] >> (bit % 64)) & 1u;
    }

    std::vector<std::uint64_t> filter_ = std::vector<std::uint64_t>((1u << kFilterBitsLog2) / 64);
    std::vector<PointEpochs> points_;
    std::unordered_map<std::uint64_t, std::vector<std::pair<std::size_t, Moment>>> wanted_;
};

// One analysis: the file goes by once; the header's first observation gives the keys, the
// data epochs after it are matched as they come. Only when epochs come before that record
// (or there is none) is a second pass needed.
class RinexAnalysis {
  public:
    RinexAnalysis(const std::string& path, TimeTable& table, HeldDate& held, Progress& progress)
        : path_(path), table_(table), held_(held), progress_(progress) {
        result_.file = path;
    }

    AnalysisResult run() {
        ScanOutcome outcome = firstPass();
        if (outcome.stopped) return stopped();
        if (!matcher_) makeKeys(*outcome.layout);
        if (!outcome.complete || epochsBeforeKeys_) outcome = secondPass();
        if (outcome.stopped) return stopped();
        return finish(outcome);
    }

  private:
    // Every line until the first observation is read, then the epoch lines: marks noted,
    // epochs matched once the keys are made.
    ScanOutcome firstPass() {
        return scanEpochs(
            path_,
            [this](std::size_t line, std::string_view text, const EpochLayout& layout) {
                return visitLine(line, text, layout);
            },
            [this](const ScannedEpoch& epoch) {
                noteMark(epoch);
                if (matcher_)
                    matcher_->add(epoch, result_);
                else
                    epochsBeforeKeys_ = true;
            },
            LineReader::kBlockSize, progress_);
    }

    // The whole file again with the keys made: the marks counted afresh.
    ScanOutcome secondPass() {
        result_.markedEpochs.clear();
        result_.markedEpochCount = 0;
        return scanEpochs(
            path_,
            [this](std::size_t line, std::string_view text, const EpochLayout& layout) {
                return findBlocks(line, text, layout);
            },
            [this](const ScannedEpoch& epoch) {
                noteMark(epoch);
                matcher_->add(epoch, result_);
            },
            LineReader::kBlockSize, progress_);
    }

    // A result that says only that the user stopped the analysis.
    static AnalysisResult stopped() {
        AnalysisResult nothing;
        nothing.stopped = true;
        return nothing;
    }

    NextLines visitLine(std::size_t line, std::string_view text, const EpochLayout& layout) {
        const NextLines next = findBlocks(line, text, layout);
        if (result_.firstObservation.found) return next;
        if (!isFirstObservationRecord(text)) return NextLines::Every;
        readFirstObservationRecord(text);
        if (epochsBeforeKeys_) return NextLines::None;
        makeKeys(layout);
        return next;
    }

    // The date is held as soon as it is read: wrong time items after it still leave it.
    void readFirstObservationRecord(std::string_view text) {
        held_.take(readObservationDate(text));
        result_.firstObservation = {true, readFirstObservationTime(text)};
    }

    // Once the first observation is known, only the event blocks need lines other than the
    // epoch lines.
    NextLines findBlocks(std::size_t line, std::string_view text, const EpochLayout& layout) {
        if (line == 0) blocks_.emplace(layout);
        blocks_->add(line, text);
        return blocks_->needsEveryLine() ? NextLines::Every : NextLines::EpochShaped;
    }

    // The shift and the keys of every record. A record still open in the grid is posted
    // first; the first STOP in STOP order is taken as the moment the receiver started logging.
    void makeKeys(const EpochLayout& layout) {
        table_.finishRecord();
        result_.shift = result_.firstObservation.time - firstStop();
        matcher_.emplace(table_, layout, held_.date(), result_.shift);
    }

    double firstStop() const {
        if (table_.recordCount() == 0) return 0.0;
        const auto& stop = table_.record(0).time(Field::Stop);
        return stop ? timeValue(*stop) : 0.0;
    }

    // The marks of an earlier run, counted in the pass that matches the epochs.
    void noteMark(const ScannedEpoch& epoch) {
        if (!epoch.marked) return;
        if (result_.markedEpochs.size() < AnalysisResult::kKeptMarks)
            result_.markedEpochs.push_back({epoch.line, epoch.offset});
        ++result_.markedEpochCount;
    }

    AnalysisResult finish(const ScanOutcome& outcome) {
        result_.identity = outcome.identity;
        result_.observationDate = held_.date();
        result_.layout = *outcome.layout;
        result_.writtenBackAsIs = outcome.writtenBackAsIs;
        if (blocks_) result_.insertedBlocks = blocks_->finish(outcome.lines);
        result_.points = matcher_->takePoints();
        return std::move(result_);
    }

    const std::string& path_;
    TimeTable& table_;
    HeldDate& held_;
    Progress& progress_;
    AnalysisResult result_;
    std::optional<EpochMatcher> matcher_;
    std::optional<InsertedBlockFinder> blocks_;
    bool epochsBeforeKeys_ = false;
};

}  // namespace

AnalysisResult analyseRinex(const std::string& path, TimeTable& table, HeldDate& held,
                            Progress& progress) {
    return RinexAnalysis(path, table, held, progress).run();
}

void writeShiftedTimes(const AnalysisResult& result, TimeTable& table) {
    table.setShiftedTimes(result.shift);
}

}  // namespace marvolt
