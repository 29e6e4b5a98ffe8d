#pragma once
// The posted records of the time table in STOP order, each found by its row, and each row
// found for a STOP, in O(log n): a day's table of a million points stays quick.

#include <cstddef>
#include <cstdint>
#include <ext/pb_ds/assoc_container.hpp>
#include <ext/pb_ds/tree_policy.hpp>
#include <optional>
#include <utility>

#include "time_record.h"

namespace marvolt {

class StopOrderedRecords {
  public:
    std::size_t size() const { return tree_.size(); }
    bool empty() const { return tree_.empty(); }

    // The record at a row. Writing its STOP through the reference would break the order:
    // replace() or erase() and insert() do that.
    const TimeRecord& at(std::size_t row) const;
    TimeRecord& at(std::size_t row);

    // The row a record with this STOP takes among the others (the row `skip` left out):
    // before the first one whose STOP is equal or later, an empty STOP being the earliest.
    std::size_t positionFor(const std::optional<std::int32_t>& stop,
                            std::optional<std::size_t> skip = std::nullopt) const;
    // Stores the record at positionFor(its STOP) and gives that row.
    std::size_t insert(TimeRecord record);
    void erase(std::size_t row);

    // Calls `visit` with every record in STOP order; it may change anything but the STOP.
    template <typename Visit>
    void forEach(Visit&& visit) {
        for (auto& entry : tree_) visit(entry.second);
    }
    template <typename Visit>
    void forEach(Visit&& visit) const {
        for (const auto& entry : tree_) visit(entry.second);
    }

  private:
    // A STOP in milliseconds (-1 for an empty one), then a number that puts the record
    // stored last first among equal STOPs.
    using Key = std::pair<std::int64_t, std::int64_t>;
    using Tree = __gnu_pbds::tree<Key, TimeRecord, std::less<Key>, __gnu_pbds::rb_tree_tag,
                                  __gnu_pbds::tree_order_statistics_node_update>;

    static std::int64_t stopKey(const std::optional<std::int32_t>& stop) {
        return stop ? *stop : -1;
    }

    Tree tree_;
    std::int64_t stored_ = 0;  // records stored so far
};

}  // namespace marvolt
