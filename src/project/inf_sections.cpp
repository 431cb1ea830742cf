#include "project/inf_sections.h"

#include <cstdint>
#include <cstring>

namespace rq {

namespace {

// A quick hash of a title, eight bytes at a time.
std::uint64_t HashOf(std::string_view text)
{
    constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15ull;
    std::uint64_t h = text.size() * kMix;
    const char* p = text.data();
    size_t n = text.size();
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        h = (h ^ w) * kMix;
        h ^= h >> 32;
    }
    std::uint64_t w = 0;
    std::memcpy(&w, p, n);
    h = (h ^ w) * kMix;
    return h ^ (h >> 29);
}

}  // namespace

TitleRows::TitleRows(const TextGrid& items)
{
    const int count = items.RowCount();
    size_t size = 16;
    while (size < 2 * static_cast<size_t>(count))
        size *= 2;
    slots_.assign(size, 0);
    // Rows are counted per title first, then placed: one flat list, no list per title.
    std::vector<int> groupOfRow(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r) {
        const std::string_view title = items.Cell(kColTitle, r);
        size_t i = HashOf(title) & (size - 1);
        while (slots_[i] != 0 && title_[static_cast<size_t>(slots_[i] - 1)] != title)
            i = (i + 1) & (size - 1);
        if (slots_[i] == 0) {
            title_.push_back(title);
            start_.push_back(0);
            slots_[i] = static_cast<int>(title_.size());
        }
        const int group = slots_[i] - 1;
        groupOfRow[static_cast<size_t>(r)] = group;
        ++start_[static_cast<size_t>(group)];
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

int TitleRows::Find(std::string_view title) const
{
    if (next_ < title_.size() && title_[next_] == title)
        return static_cast<int>(next_);
    const size_t mask = slots_.size() - 1;
    for (size_t i = HashOf(title) & mask; slots_[i] != 0; i = (i + 1) & mask)
        if (title_[static_cast<size_t>(slots_[i] - 1)] == title)
            return slots_[i] - 1;
    return -1;
}

std::span<const int> TitleRows::For(std::string_view title) const
{
    const int found = Find(title);
    if (found < 0)
        return {};
    const size_t g = static_cast<size_t>(found);
    next_ = g + 1;
    return std::span<const int>(rows_).subspan(static_cast<size_t>(start_[g]),
                                               static_cast<size_t>(start_[g + 1] - start_[g]));
}

}  // namespace rq
