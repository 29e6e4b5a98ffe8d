#include "stop_ordered_records.h"

#include <limits>
#include <stdexcept>

namespace marvolt {

const TimeRecord& StopOrderedRecords::at(std::size_t row) const {
    if (row >= tree_.size()) throw std::out_of_range("no record at this row");
    return tree_.find_by_order(row)->second;
}

TimeRecord& StopOrderedRecords::at(std::size_t row) {
    if (row >= tree_.size()) throw std::out_of_range("no record at this row");
    return tree_.find_by_order(row)->second;
}

std::size_t StopOrderedRecords::positionFor(const std::optional<std::int32_t>& stop,
                                            std::optional<std::size_t> skip) const {
    const std::int64_t key = stopKey(stop);
    std::size_t position = tree_.order_of_key({key, std::numeric_limits<std::int64_t>::min()});
    if (skip && *skip < position) --position;
    return position;
}

std::size_t StopOrderedRecords::insert(TimeRecord record) {
    const Key key{stopKey(record.time(Field::Stop)), -++stored_};
    tree_.insert({key, std::move(record)});
    return tree_.order_of_key(key);
}

void StopOrderedRecords::erase(std::size_t row) {
    if (row >= tree_.size()) throw std::out_of_range("no record at this row");
    tree_.erase(tree_.find_by_order(row));
}

}  // namespace marvolt
