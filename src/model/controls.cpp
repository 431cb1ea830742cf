#include "model/controls.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace rq {

static const std::string kEmpty;

// A row's cells are made when the first of them is written: a grid of tens of
// thousands of rows that nobody fills costs one small entry per row.
TextGrid::TextGrid(int cols, int rows) : cols_(cols), emptyRow_(static_cast<size_t>(cols))
{
    rows_.resize(static_cast<size_t>(std::max(rows, 0)));
}

void TextGrid::SetRowCount(int rows)
{
    rows = std::max(rows, 0);
    if (rows == RowCount())
        return;
    rows_.resize(static_cast<size_t>(rows));
    Touch();
}

const std::string& TextGrid::RawCell(int col, int row) const
{
    if (row < 0 || row >= RowCount() || col < 0 || col >= cols_)
        return kEmpty;
    const std::vector<std::string>& cells = rows_[static_cast<size_t>(row)];
    return cells.empty() ? kEmpty : cells[static_cast<size_t>(col)];
}

const std::string& TextGrid::Cell(int col, int row) const
{
    Flush();
    return RawCell(col, row);
}

const std::vector<std::string>& TextGrid::Row(int row) const
{
    Flush();
    const std::vector<std::string>& cells = rows_[static_cast<size_t>(row)];
    return cells.empty() ? emptyRow_ : cells;
}

void TextGrid::MarkPending()
{
    pending_ = true;
    Touch();
}

void TextGrid::Flush() const
{
    if (!pending_)
        return;
    pending_ = false;
    if (readHook_)
        readHook_();
}

template <typename Text>
void TextGrid::Put(int col, int row, Text&& text)
{
    if (row < 0 || row >= RowCount() || col < 0 || col >= cols_)
        return;
    std::vector<std::string>& cells = rows_[static_cast<size_t>(row)];
    if (cells.empty()) {
        if (std::string_view(text).empty())
            return;
        cells.resize(static_cast<size_t>(cols_));
    }
    std::string& cell = cells[static_cast<size_t>(col)];
    if (cell == text)
        return;
    if (BeforeCellChange)
        BeforeCellChange(col, row, cell);
    cell = std::forward<Text>(text);
    Touch();
}

void TextGrid::SetCell(int col, int row, const std::string& text) { Put(col, row, text); }
void TextGrid::SetCell(int col, int row, std::string&& text) { Put(col, row, std::move(text)); }

std::vector<std::string> TextList::Lines() const
{
    std::vector<std::string> lines;
    lines.reserve(spans_.size());
    for (int i = 0; i < Count(); ++i)
        lines.emplace_back((*this)[i]);
    return lines;
}

void TextList::Clear()
{
    text_.clear();
    spans_.clear();
    live_ = 0;
    Touch();
}

void TextList::Add(std::string_view line)
{
    spans_.push_back(Span{text_.size(), line.size()});
    text_.append(line);
    live_ += line.size();
    Touch();
}

void TextList::Assign(const std::vector<std::string>& lines)
{
    text_.clear();
    spans_.clear();
    live_ = 0;
    for (const std::string& line : lines)
        Add(line);
    Touch();
}

void TextList::Set(int i, std::string_view line)
{
    if (i < 0 || i >= Count())
        return;
    Span& sp = spans_[static_cast<size_t>(i)];
    live_ = live_ - sp.length + line.size();
    if (line.size() <= sp.length) {
        // A rewritten key line is rarely longer than the line it replaces.
        if (!line.empty())
            std::memmove(text_.data() + sp.offset, line.data(), line.size());
        sp.length = line.size();
        Touch();
        return;
    }
    sp = Span{text_.size(), line.size()};
    text_.append(line);
    // Replaced lines leave their old text behind; now and then it is dropped.
    if (text_.size() > 4 * live_ + 65536)
        Compact();
    Touch();
}

void TextList::Adopt(std::string text, std::vector<Span> spans)
{
    text_ = std::move(text);
    spans_ = std::move(spans);
    live_ = 0;
    for (const Span& sp : spans_)
        live_ += sp.length;
    Touch();
}

void TextList::Truncate(int count)
{
    if (count < 0 || count >= Count())
        return;
    for (size_t i = static_cast<size_t>(count); i < spans_.size(); ++i)
        live_ -= spans_[i].length;
    spans_.resize(static_cast<size_t>(count));
    Touch();
}

void TextList::TakeFrom(TextList& other)
{
    text_ = std::move(other.text_);
    spans_ = std::move(other.spans_);
    live_ = other.live_;
    other.text_.clear();
    other.spans_.clear();
    other.live_ = 0;
    other.Touch();
    Touch();
}

void TextList::Compact()
{
    std::string text;
    text.reserve(live_);
    for (Span& sp : spans_) {
        const size_t at = text.size();
        text.append(text_, sp.offset, sp.length);
        sp.offset = at;
    }
    text_ = std::move(text);
}

void CheckList::SetChecked(int i, bool checked)
{
    if (i < 0 || i >= Count())
        return;
    Entry& e = entries_[static_cast<size_t>(i)];
    if (e.checked == checked)
        return;
    e.checked = checked;
    if (checked) {
        ++checkedCount_;
        ++checkedByText_[e.text];
    } else {
        --checkedCount_;
        auto it = checkedByText_.find(e.text);
        if (--it->second == 0)
            checkedByText_.erase(it);
    }
    Touch();
}

bool CheckList::AnyCheckedWithText(const std::string& text) const
{
    return checkedCount_ > 0 && checkedByText_.count(text) != 0;
}

void CheckList::Clear()
{
    entries_.clear();
    checkedCount_ = 0;
    checkedByText_.clear();
    Touch();
}

void CheckList::Add(std::string text)
{
    entries_.push_back(Entry{std::move(text), false});
    Touch();
}

int CheckList::IndexOf(const std::string& text) const
{
    for (int i = 0; i < Count(); ++i)
        if (entries_[static_cast<size_t>(i)].text == text)
            return i;
    return -1;
}

void CheckList::UserToggle(int i)
{
    if (i < 0 || i >= Count())
        return;
    SetChecked(i, !Checked(i));
    if (OnClickCheck)
        OnClickCheck();
}

void ComboBox::SetText(std::string text)
{
    if (text == text_)
        return;
    text_ = std::move(text);
    Touch();
}

void ComboBox::UserSetText(std::string text)
{
    SetText(std::move(text));
    if (OnChange)
        OnChange();
}

void ComboBox::SetItems(std::vector<std::string> items)
{
    items_ = std::move(items);
    Touch();
}

void ComboBox::AddItem(std::string item)
{
    items_.push_back(std::move(item));
    Touch();
}

void ComboBox::InsertItem(int index, std::string item)
{
    index = std::clamp(index, 0, static_cast<int>(items_.size()));
    items_.insert(items_.begin() + index, std::move(item));
    Touch();
}

void ComboBox::Clear()
{
    items_.clear();
    text_.clear();
    Touch();
}

void EditBox::SetText(std::string text)
{
    if (text == text_)
        return;
    text_ = std::move(text);
    Touch();
}

void Label::SetCaption(std::string caption)
{
    if (caption == caption_)
        return;
    caption_ = std::move(caption);
    Touch();
}

void Button::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Touch();
}

void TrackBar::MoveTo(int v)
{
    v = std::clamp(v, min_, max_);
    if (v == position_)
        return;
    position_ = v;
    Touch();
    if (OnChange)
        OnChange();
}

void TrackBar::SetMin(int v)
{
    if (v > max_ || v == min_)
        return;
    min_ = v;
    Touch();
    if (position_ < min_)
        MoveTo(min_);
}

void TrackBar::SetMax(int v)
{
    if (v < min_ || v == max_)
        return;
    max_ = v;
    Touch();
    if (position_ > max_)
        MoveTo(max_);
}

void TrackBar::SetPosition(int v) { MoveTo(v); }

void TrackBar::NotifyEndScroll()
{
    if (OnChange)
        OnChange();
}

}  // namespace rq
