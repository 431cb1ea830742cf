#pragma once
// The two halves of the INF rule, shared by reading and rewriting: an item's
// reduction lives in the "reduction=" lines of the INF section named by its
// title, and every item of that title takes part, in row order.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/project_state.h"
#include "project/key_lines.h"

namespace rq {

// The rows of each title in the item table, header row included, in ascending
// order. The titles are views of the table's cells: the index stays valid while
// no title cell changes and the table keeps its rows (other cells may change).
class TitleRows {
public:
    explicit TitleRows(const TextGrid& items);
    // The rows whose title is exactly `title`; none for a title no row has.
    // The files name the titles in the table's order: the title after the
    // last one asked for is tried before any search.
    std::span<const int> For(std::string_view title) const;

private:
    int Find(std::string_view title) const;  // its group, or -1
    std::vector<std::string_view> title_;  // group -> its title, in order of first row
    std::vector<int> slots_;  // open addressing: group + 1 by the title's hash; 0 for none
    std::vector<int> start_;  // group g's rows are rows_[start_[g]] .. rows_[start_[g + 1] - 1]
    std::vector<int> rows_;
    mutable size_t next_ = 0;  // the group after the one last asked for
};

// Walks the "reduction=" lines of an INF text that belong to a section some
// item is named after: calls visit(index, line, rows) with the rows of that
// section's title. A line that contains "[" opens a section (its name is
// SectionName of the line, also for a "reduction=" line itself); lines before
// the first opening belong to the section with the empty name.
template <typename Visit>
void ForEachReductionLine(const TextList& list, const TitleRows& titles, Visit&& visit)
{
    std::string section;
    std::span<const int> rows = titles.For(section);
    const TextList::View lines = list.Viewed();
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string_view line = lines[i];
        if (line.find('[') != std::string_view::npos && AssignSectionName(section, line))
            rows = titles.For(section);
        if (!rows.empty() && StartsWithKey(line, "reduction="))
            visit(i, line, rows);
    }
}

}  // namespace rq
