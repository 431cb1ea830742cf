#include "model/controls.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace rq {

static const std::string kEmpty;

// A row's cells are made when the first of them is written: a grid of tens of
// thousands of rows that nobody fills costs one small entry per row.
TextGrid::TextGrid(int cols, int rows)
    : data_(std::make_shared<Data>(Data{cols, {}, std::vector<std::string>(static_cast<size_t>(cols))}))
{
    data_->rows.resize(static_cast<size_t>(std::max(rows, 0)));
}

// The cells to change: this grid's own, copied first when a copy shares them.
TextGrid::Data& TextGrid::Mutable()
{
    if (data_.use_count() > 1)
        data_ = std::make_shared<Data>(*data_);
    data_->bytes = 0;
    return *data_;
}

void TextGrid::SetRowCount(int rows)
{
    rows = std::max(rows, 0);
    if (rows == RowCount())
        return;
    Mutable().rows.resize(static_cast<size_t>(rows));
    Touch();
}

const std::string& TextGrid::EmptyText() { return kEmpty; }

const std::vector<std::string>& TextGrid::Row(int row) const
{
    const std::vector<std::string>& cells = data_->rows[static_cast<size_t>(row)];
    return cells.empty() ? data_->emptyRow : cells;
}

template <typename Text>
void TextGrid::Put(int col, int row, Text&& text)
{
    if (row < 0 || row >= RowCount() || col < 0 || col >= ColCount())
        return;
    // Nothing is copied for a write that changes nothing.
    const std::vector<std::string>& seen = data_->rows[static_cast<size_t>(row)];
    if (seen.empty() ? std::string_view(text).empty() : seen[static_cast<size_t>(col)] == text)
        return;
    std::vector<std::string>& cells = Mutable().rows[static_cast<size_t>(row)];
    if (cells.empty())
        cells.resize(static_cast<size_t>(ColCount()));
    cells[static_cast<size_t>(col)] = std::forward<Text>(text);
    Touch();
}

void TextGrid::PutText(int col, int row, std::string_view text) { Put(col, row, text); }
void TextGrid::SetCell(int col, int row, std::string&& text) { Put(col, row, std::move(text)); }

std::size_t TextGrid::CellBytes() const
{
    const Data& d = *data_;
    if (d.bytes != 0)
        return d.bytes;
    std::size_t bytes = sizeof(Data) + d.rows.capacity() * sizeof(std::vector<std::string>);
    for (const std::vector<std::string>& cells : d.rows) {
        bytes += cells.capacity() * sizeof(std::string);
        for (const std::string& cell : cells)
            if (cell.capacity() > std::string().capacity())
                bytes += cell.capacity() + 1;
    }
    d.bytes = bytes;
    return bytes;
}

bool TextGrid::operator==(const TextGrid& other) const
{
    if (data_ == other.data_)
        return true;
    if (ColCount() != other.ColCount() || RowCount() != other.RowCount())
        return false;
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c)
            if (Cell(c, r) != other.Cell(c, r))
                return false;
    return true;
}

TextList::Data& TextList::Mutable()
{
    if (data_.use_count() > 1)
        data_ = std::make_shared<Data>(*data_);
    return *data_;
}

std::vector<std::string> TextList::Lines() const
{
    std::vector<std::string> lines;
    lines.reserve(data_->spans.size());
    for (int i = 0; i < Count(); ++i)
        lines.emplace_back((*this)[i]);
    return lines;
}

void TextList::Clear()
{
    // A shared text is left to its other holders rather than copied to be emptied.
    if (data_.use_count() > 1) {
        data_ = std::make_shared<Data>();
    } else {
        data_->text.clear();
        data_->spans.clear();
        data_->live = 0;
    }
    Touch();
}

void TextList::Add(std::string_view line)
{
    Data& d = Mutable();
    d.spans.push_back(Span{d.text.size(), line.size()});
    d.text.append(line);
    d.live += line.size();
    Touch();
}

void TextList::Assign(const std::vector<std::string>& lines)
{
    Clear();
    for (const std::string& line : lines)
        Add(line);
    Touch();
}

void TextList::Set(int i, std::string_view line)
{
    if (i < 0 || i >= Count())
        return;
    Data& d = Mutable();
    Span& sp = d.spans[static_cast<size_t>(i)];
    d.live = d.live - sp.length + line.size();
    if (line.size() <= sp.length) {
        // A rewritten key line is rarely longer than the line it replaces.
        if (!line.empty())
            std::memmove(d.text.data() + sp.offset, line.data(), line.size());
        sp.length = line.size();
        Touch();
        return;
    }
    sp = Span{d.text.size(), line.size()};
    d.text.append(line);
    // Replaced lines leave their old text behind; now and then it is dropped.
    if (d.text.size() > 4 * d.live + 65536)
        Compact(d);
    Touch();
}

void TextList::Adopt(std::string text, std::vector<Span> spans)
{
    auto d = std::make_shared<Data>();
    d->text = std::move(text);
    d->spans = std::move(spans);
    for (const Span& sp : d->spans)
        d->live += sp.length;
    data_ = std::move(d);
    Touch();
}

void TextList::Truncate(int count)
{
    if (count < 0 || count >= Count())
        return;
    Data& d = Mutable();
    for (size_t i = static_cast<size_t>(count); i < d.spans.size(); ++i)
        d.live -= d.spans[i].length;
    d.spans.resize(static_cast<size_t>(count));
    Touch();
}

void TextList::TakeFrom(TextList& other)
{
    data_ = std::move(other.data_);
    other.data_ = std::make_shared<Data>();
    other.Touch();
    Touch();
}

void TextList::Compact(Data& d)
{
    std::string text;
    text.reserve(d.live);
    for (Span& sp : d.spans) {
        const size_t at = text.size();
        text.append(d.text, sp.offset, sp.length);
        sp.offset = at;
    }
    d.text = std::move(text);
}

std::size_t TextList::TextBytes() const
{
    return sizeof(Data) + data_->text.capacity() + data_->spans.capacity() * sizeof(Span);
}

bool TextList::operator==(const TextList& other) const
{
    if (data_ == other.data_)
        return true;
    if (Count() != other.Count())
        return false;
    for (int i = 0; i < Count(); ++i)
        if ((*this)[i] != other[i])
            return false;
    return true;
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

void ComboBox::SetText(std::string text)
{
    if (text == text_)
        return;
    text_ = std::move(text);
    Touch();
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

bool TrackBar::MoveTo(int v)
{
    v = std::clamp(v, min_, max_);
    if (v == position_)
        return false;
    position_ = v;
    Touch();
    return true;
}

bool TrackBar::SetMin(int v)
{
    if (v > max_ || v == min_)
        return false;
    min_ = v;
    Touch();
    return position_ < min_ && MoveTo(min_);
}

bool TrackBar::SetMax(int v)
{
    if (v < min_ || v == max_)
        return false;
    max_ = v;
    Touch();
    return position_ > max_ && MoveTo(max_);
}

bool TrackBar::SetPosition(int v) { return MoveTo(v); }

}  // namespace rq
