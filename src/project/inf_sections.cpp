#include "project/inf_sections.h"

namespace rq {

TitleRows::TitleRows(const TextGrid& items)
{
    const int count = items.RowCount();
    // Rows are counted per title first, then placed: one flat list, no list per title.
    std::vector<int> groupOfRow(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r) {
        const auto [it, added] = group_.try_emplace(items.Cell(kColTitle, r), static_cast<int>(start_.size()));
        if (added)
            start_.push_back(0);
        groupOfRow[static_cast<size_t>(r)] = it->second;
        ++start_[static_cast<size_t>(it->second)];
    }
    // Counts into the end of each group's place, then filled backwards to its start.
    int end = 0;
    for (int& s : start_) {
        end += s;
        s = end;
    }
    start_.push_back(end);
    rows_.resize(static_cast<size_t>(count));
    for (int r = count - 1; r >= 0; --r)
        rows_[static_cast<size_t>(--start_[static_cast<size_t>(groupOfRow[static_cast<size_t>(r)])])] = r;
}

std::span<const int> TitleRows::For(std::string_view title) const
{
    const auto found = group_.find(title);
    if (found == group_.end())
        return {};
    const size_t g = static_cast<size_t>(found->second);
    return std::span<const int>(rows_).subspan(static_cast<size_t>(start_[g]),
                                               static_cast<size_t>(start_[g + 1] - start_[g]));
}

}  // namespace rq
