#include "core/archive.h"

#include "core/conversions.h"

#include <algorithm>
#include <unordered_set>

namespace quintor {

std::vector<Column> Archive::newestFirst(std::size_t limit) const {
    const std::size_t count = std::min(limit, records_.size());
    std::vector<Column> columns;
    columns.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        columns.push_back(records_[records_.size() - 1 - i].numbers);
    return columns;
}

bool Archive::hasDate(std::string_view dateText) const {
    return std::any_of(records_.begin(), records_.end(),
                       [&](const ArchiveRecord& r) { return r.date == dateText; });
}

Expected<std::size_t> Archive::insert(ArchiveRecord record) {
    if (!record.day)
        return Failure{invalidDateMessage(removeBlanks(record.date))};
    const auto newDay = *record.day;
    if (records_.empty()) {
        records_.push_back(std::move(record));
        return std::size_t{0};
    }
    const auto& last = records_.back();
    if (!last.day)
        return Failure{invalidDateMessage(removeBlanks(last.date))};
    if (newDay >= *last.day) {
        records_.push_back(std::move(record));
        return records_.size() - 1;
    }
    // Modified records keep their place, so the archive need not be sorted: the first record
    // on or after the new date is found by scanning, and every date passed must convert.
    for (std::size_t i = 0; i < records_.size(); ++i) {
        const auto& day = records_[i].day;
        if (!day)
            return Failure{invalidDateMessage(removeBlanks(records_[i].date))};
        if (*day >= newDay) {
            records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(i), std::move(record));
            return i;
        }
    }
    records_.push_back(std::move(record)); // not reached: the last record qualifies
    return records_.size() - 1;
}

void Archive::replace(std::size_t index, ArchiveRecord record) {
    if (index < records_.size())
        records_[index] = std::move(record);
}

Expected<std::size_t> Archive::remove(std::size_t first, std::size_t last) {
    if (first > last || last >= records_.size())
        return Failure{"Selezione non valida."};
    const std::size_t count = last - first + 1;
    if (records_.size() - count < 3)
        return Failure{tooFewLeftMessage};
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(first),
                   records_.begin() + static_cast<std::ptrdiff_t>(last + 1));
    return count;
}

MergeCounts Archive::merge(const std::vector<ArchiveRecord>& draws) {
    MergeCounts counts;
    std::unordered_set<std::string> present;
    present.reserve(records_.size() + draws.size());
    for (const auto& record : records_)
        present.insert(record.date);
    // A bad draw is set aside before anything moves, so the archive never holds half a merge
    // that a later failure would leave unsaved.
    for (const auto& draw : draws) {
        if (!draw.isValidDraw()) {
            ++counts.rejected;
            continue;
        }
        if (present.count(draw.date)) {
            ++counts.present;
            continue;
        }
        if (!insert(draw)) {
            ++counts.rejected; // an archive record whose date does not convert stands in the way
            continue;
        }
        present.insert(draw.date);
        ++counts.added;
    }
    return counts;
}

std::string Archive::fileBytes() const {
    return archiveImage(records_);
}

} // namespace quintor
