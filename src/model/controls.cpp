#include "model/controls.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace rq {

TextGrid::TextGrid(int cols, int rows) : data_(std::make_shared<Data>())
{
    data_->cols = std::max(cols, 0);
    data_->rows.resize(static_cast<size_t>(std::max(rows, 0)));
}

void TextGrid::Data::AddBlock(std::size_t size)
{
    blocks.push_back(Block{std::unique_ptr<char[]>(new char[size]), static_cast<std::uint32_t>(size), 0});
    blockBytes += size;
}

void TextGrid::Data::Place(Slot& cell, std::size_t room)
{
    // Blocks grow with the grid: few of them for a large table, little
    // unused room for a small one.
    if (blocks.empty() || room > blocks.back().size - blocks.back().used)
        AddBlock(std::max({room, std::size_t{1024}, std::min(blockBytes, std::size_t{1} << 22)}));
    Block& last = blocks.back();
    cell.block = static_cast<std::uint32_t>(blocks.size() - 1);
    cell.offset = last.used;
    cell.room = static_cast<std::uint32_t>(room);
    last.used += cell.room;
}

// A copy is a copy of the blocks as they are, room and all: cheaper than
// gathering hundreds of thousands of small texts.
TextGrid::Data::Data(const Data& other)
    : cols(other.cols), rows(other.rows), cells(other.cells), blockBytes(0)
{
    blocks.reserve(other.blocks.size());
    for (const Block& from : other.blocks) {
        AddBlock(from.used);
        std::memcpy(blocks.back().bytes.get(), from.bytes.get(), from.used);
        blocks.back().used = from.used;
    }
}

void TextGrid::Data::CopyRows(const Data& other, std::size_t rowCount)
{
    cols = other.cols;
    rows.assign(other.rows.begin(), other.rows.begin() + static_cast<std::ptrdiff_t>(rowCount));
    const size_t width = static_cast<size_t>(cols);
    std::size_t made = 0;
    std::size_t bytes = 0;
    for (std::uint32_t& row : rows) {
        if (row == 0)
            continue;
        const Slot* from = &other.cells[(row - 1) * width];
        for (size_t c = 0; c < width; ++c)
            bytes += from[c].room;
        row = static_cast<std::uint32_t>(++made);
    }
    cells.resize(made * width);
    if (bytes != 0)
        AddBlock(bytes);  // one block, just large enough
    made = 0;
    for (size_t r = 0; r < rowCount; ++r) {
        if (other.rows[r] == 0)
            continue;
        const Slot* from = &other.cells[(other.rows[r] - 1) * width];
        Slot* to = &cells[made++ * width];
        for (size_t c = 0; c < width; ++c) {
            if (from[c].room == 0)
                continue;
            Place(to[c], from[c].room);
            std::memcpy(Text(to[c]), other.Text(from[c]), from[c].length);
            to[c].length = from[c].length;
        }
    }
}

// The cells to change: this grid's own, copied first when a copy shares them.
TextGrid::Data& TextGrid::Mutable()
{
    if (data_.use_count() > 1)
        data_ = std::make_shared<Data>(*data_);
    return *data_;
}

void TextGrid::SetRowCount(int rows)
{
    const size_t count = static_cast<size_t>(std::max(rows, 0));
    if (count == data_->rows.size())
        return;
    const Data& d = *data_;
    // Rows that go take their cells with them, so a grid that shrinks and
    // grows again does not keep what it no longer shows.
    if (count < d.rows.size() &&
        std::any_of(d.rows.begin() + static_cast<std::ptrdiff_t>(count), d.rows.end(), [](std::uint32_t r) { return r != 0; })) {
        auto kept = std::make_shared<Data>();
        kept->CopyRows(d, count);
        data_ = std::move(kept);
    } else {
        Mutable().rows.resize(count);
    }
    Touch();
}

std::vector<std::string> TextGrid::Row(int row) const
{
    std::vector<std::string> cells;
    for (int c = 0; c < ColCount(); ++c)
        cells.emplace_back(Cell(c, row));
    return cells;
}

void TextGrid::PutText(int col, int row, std::string_view text)
{
    if (row < 0 || row >= RowCount() || col < 0 || col >= ColCount() || Cell(col, row) == text)
        return;  // nothing is copied for a write that changes nothing
    // `text` may be another cell of this grid: the copy below keeps the old
    // cells alive, and a new room never moves any text.
    Data& d = Mutable();
    std::uint32_t& made = d.rows[static_cast<size_t>(row)];
    const size_t width = static_cast<size_t>(d.cols);
    if (made == 0) {
        d.cells.resize(d.cells.size() + width);
        made = static_cast<std::uint32_t>(d.cells.size() / width);
    }
    Slot& cell = d.cells[(made - 1) * width + static_cast<size_t>(col)];
    if (text.size() > cell.room) {
        if (text.size() > kMaxCellBytes)
            throw std::length_error("cell text too long");
        d.Place(cell, RoomFor(text.size()));
    }
    if (!text.empty())
        std::memmove(d.Text(cell), text.data(), text.size());
    cell.length = static_cast<std::uint32_t>(text.size());
    Touch();
}

std::size_t TextGrid::CellBytes() const
{
    const Data& d = *data_;
    return sizeof(Data) + d.rows.capacity() * sizeof(std::uint32_t) + d.cells.capacity() * sizeof(Slot) +
           d.blocks.capacity() * sizeof(d.blocks[0]) + d.blockBytes;
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
