#include "home/home_figures.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_set>

#include "data/data_folder.h"
#include "data/item_limit.h"
#include "data/number_format.h"

namespace mitoran {
namespace {

// Entry 0 unused, then one per item, as the panels index them.
constexpr std::size_t kMinTableSize = kItemLimit + 1;

std::size_t tableSize(const ItemHistories& histories) {
    return std::max(kMinTableSize, histories.records.size());
}

// Appends the distinct date texts of `records` to `dates` in order of first appearance.
void collectDistinctDates(const std::vector<HistoryRecord>& records,
                          std::vector<std::string>& dates,
                          std::unordered_set<std::string_view>& seen) {
    // A file the program wrote runs forward in time: a record dated after every earlier one
    // cannot repeat an earlier text, so no lookup is needed. Only once the file steps back in
    // time are the texts gathered into a set and looked up.
    seen.clear();
    bool inOrder = true;
    const HistoryRecord* latest = nullptr;
    for (std::size_t k = 0; k < records.size(); ++k) {
        const HistoryRecord& record = records[k];
        if (inOrder) {
            if (!latest || record.day > latest->day) {
                latest = &record;
                dates.emplace_back(record.date);
                continue;
            }
            if (record.date == latest->date) continue;
            inOrder = false;
            // The views point into the records, which stay put while the set is used.
            seen.reserve(dates.size() * 2 + 16);
            for (std::size_t j = 0; j < k; ++j) seen.insert(records[j].date);
        }
        if (seen.insert(record.date).second) dates.emplace_back(record.date);
    }
}

}  // namespace

ItemHistories readItemHistories(const std::vector<std::string>& itemNames, int itemCount) {
    ItemHistories result;
    const int last = std::min<int>(itemCount, static_cast<int>(itemNames.size()) - 1);
    for (int i = 1; i <= last; ++i) {
        const std::string& name = itemNames[i];
        if (name.empty()) break;
        Loaded<HistoryRecord> loaded = readHistory(name);
        if (loaded.status == ReadStatus::Error) {
            std::string line = name;
            line += ": ";
            line += loaded.reason;
            result.unreadable.push_back(std::move(line));
        }
        if (auto notice =
                unreadableLinesNotice(historyFileName(name), loaded.skipped, loaded.skippedLines))
            result.notices.push_back(std::move(*notice));
        result.records.push_back(std::move(loaded.records));
    }
    return result;
}

ItemTotals ComputeItemTotals(const ItemHistories& histories, Date today) {
    const std::size_t size = tableSize(histories);
    ItemTotals totals;
    totals.ItemTotalCount.assign(size, 0);
    totals.ItemTotalSets.assign(size, 0);
    totals.ItemTodayCount.assign(size, 0);
    totals.ItemTodaySets.assign(size, 0);
    for (std::size_t i = 1; i < histories.records.size(); ++i) {
        for (const HistoryRecord& record : histories.records[i]) {
            totals.ItemTotalCount[i] += record.count;
            totals.ItemTotalSets[i] += 1;
            if (record.day == today) {
                totals.ItemTodayCount[i] += record.count;
                totals.ItemTodaySets[i] += 1;
            }
        }
    }
    return totals;
}

ItemDateLists BuildItemDates(const ItemHistories& histories, Date today) {
    const std::size_t size = tableSize(histories);
    ItemDateLists lists;
    lists.ItemDates.assign(size, {});
    lists.ItemDateCount.assign(size, 0);
    lists.MaxDateSpan = 1;
    std::unordered_set<std::string_view> seen;
    for (std::size_t i = 1; i < histories.records.size(); ++i) {
        const std::vector<HistoryRecord>& records = histories.records[i];
        Date first = today;
        Date last = today;
        if (!records.empty()) {
            first = records.front().day;
            last = records.back().day;
        }
        const long span = daysBetween(first, last) + 1;
        if (span > lists.MaxDateSpan) lists.MaxDateSpan = static_cast<std::int32_t>(span);

        std::vector<std::string>& dates = lists.ItemDates[i];
        collectDistinctDates(records, dates, seen);
        lists.ItemDateCount[i] = static_cast<std::int32_t>(dates.size());
    }
    return lists;
}

OverviewRow overviewRow(std::int64_t total, std::int32_t target) {
    OverviewRow row;
    if (target <= 0) {
        // A target from a hand-edited file that cannot divide: no rate, no bar.
        row.rateText.assign(1, '-');
        return row;
    }
    row.achievement = static_cast<float>(static_cast<double>(total) / target);
    row.rateText = formatPercent(row.achievement);

    // Single precision throughout, as the stored achievement is single: 0.45 of 2700 is 1215.
    const float fullLength = static_cast<float>(kFullBarLength);
    const float length = std::floor(fullLength * row.achievement);
    if (length > fullLength) {
        row.barLength = kFullBarLength;
        row.goalReached = true;
    } else if (length > 0) {
        row.barLength = static_cast<int>(length);
    }

    const float percent = row.achievement * 100.0f;
    if (percent >= 0 && percent < 40)
        row.colour = 12;  // red
    else if (percent >= 40 && percent < 80)
        row.colour = 14;  // yellow
    else if (percent >= 80 && percent <= 100)
        row.colour = 9;  // blue
    return row;
}

}  // namespace mitoran
