#pragma once
// Toolkit-free models of the window's controls. The tables of the program are
// the texts these controls hold; a window only mirrors them. A control is a
// plain value: it holds data only, copies and compares like a value (what it
// shows, never its version), and runs no code of anybody else's. Whoever
// changes a control on the user's behalf (the form) runs its handler.
//
// Every mutation bumps a version counter so a view can tell cheaply whether
// it must repaint. Assigning a control moves its version on past both the
// one it had and the one the assigned value had, never back: a control put
// back to an earlier copy repaints in every view that saw any of its versions.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace rq {

class Versioned {
public:
    Versioned() = default;
    Versioned(const Versioned&) = default;
    Versioned& operator=(const Versioned& other)
    {
        MovePast(other.version_);
        return *this;
    }
    std::uint64_t Version() const { return version_; }

protected:
    void Touch() { ++version_; }

private:
    void MovePast(std::uint64_t other) { version_ = (other > version_ ? other : version_) + 1; }
    std::uint64_t version_ = 1;
};

// A grid of text cells (columns x rows); row 0 is the header row. Copies
// share their cells until one of them changes (the item table has hundreds
// of thousands of cells; a copy of the project must cost little).
//
// The texts live in a few large blocks, not one allocation per cell: a load
// writes every item's cells and an apply tens of thousands of them. A cell
// keeps its room, so a new figure of about the old one's length is written
// over it; a longer one goes to the end of the last block. Text once written
// stays where it is until the grid is copied or loses rows, so a cell read
// from the grid stays readable while other cells are written.
class TextGrid : public Versioned {
public:
    TextGrid(int cols, int rows);

    int ColCount() const { return data_->cols; }
    int RowCount() const { return static_cast<int>(data_->rows.size()); }
    void SetRowCount(int rows);

    // A cell's text; empty outside the grid. Inline: the commands read every
    // item's cells several times a click. An empty text still points at a
    // character, as a string's does, so that it may be copied from.
    std::string_view Cell(int col, int row) const
    {
        const Data& d = *data_;
        if (row < 0 || static_cast<size_t>(row) >= d.rows.size() || col < 0 || col >= d.cols)
            return std::string_view(kNoText, 0);
        const std::uint32_t made = d.rows[static_cast<size_t>(row)];
        if (made == 0)
            return std::string_view(kNoText, 0);
        const Slot& cell = d.cells[(made - 1) * static_cast<size_t>(d.cols) + static_cast<size_t>(col)];
        return cell.room == 0 ? std::string_view(kNoText, 0) : std::string_view(d.Text(cell), cell.length);
    }
    // Inline: a load writes every item's cells, a click tens of thousands of them.
    void SetCell(int col, int row, std::string_view text)
    {
        if (Slot* cell = CellToWrite(col, row)) {
            Data& d = *data_;
            char* at = d.Text(*cell);
            if (std::string_view(at, cell->length) == text)
                return;
            if (text.size() > cell->room) {
                // New room at the end of the last block (never over the old
                // text, which `text` may be part of).
                if (d.blocks.empty() || text.size() > kMaxCellBytes ||
                    RoomFor(text.size()) > d.blocks.back().size - d.blocks.back().used)
                    return PutText(col, row, text);
                Block& last = d.blocks.back();
                cell->block = static_cast<std::uint32_t>(d.blocks.size() - 1);
                cell->offset = last.used;
                cell->room = RoomFor(text.size());
                last.used += cell->room;
                at = last.bytes.get() + cell->offset;
            }
            if (!text.empty())
                std::memmove(at, text.data(), text.size());
            cell->length = static_cast<std::uint32_t>(text.size());
            Touch();
            return;
        }
        PutText(col, row, text);
    }
    void SetCell(int col, int row, const std::string& text) { SetCell(col, row, std::string_view(text)); }
    void SetCell(int col, int row, const char* text) { SetCell(col, row, std::string_view(text)); }
    // A copy of a row's texts.
    std::vector<std::string> Row(int row) const;
    // New text for the grid was recorded elsewhere and is written when read
    // (the views): every window showing it must repaint.
    void MarkStale() { Touch(); }

    // Whether two grids share the same cells (a copy neither has changed since).
    bool SharesCellsWith(const TextGrid& other) const { return data_ == other.data_; }
    // Bytes of the cells, for a bound on what copies hold.
    std::size_t CellBytes() const;
    const void* CellsId() const { return data_.get(); }

    bool operator==(const TextGrid& other) const;

private:
    // Where a cell's text is: a place in one of the blocks, with the room
    // it may grow into. Places rather than pointers, so that a copy of the
    // grid is a copy of its blocks.
    struct Slot {
        std::uint32_t block = 0;
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
        std::uint32_t room = 0;
    };
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::uint32_t size = 0;
        std::uint32_t used = 0;
    };
    struct Data {
        int cols = 0;
        // Per row: 1 + the place of its cells in `cells`; 0 while none of
        // them was written (a grid of tens of thousands of rows that nobody
        // fills costs one small entry per row).
        std::vector<std::uint32_t> rows;
        std::vector<Slot> cells;
        std::vector<Block> blocks;
        std::size_t blockBytes = 0;

        Data() = default;
        Data(const Data& other);
        Data& operator=(const Data&) = delete;
        char* Text(const Slot& cell) const
        {
            return cell.room == 0 ? nullptr : blocks[cell.block].bytes.get() + cell.offset;
        }
        // Takes the first `rowCount` rows of `other` into this empty grid,
        // leaving behind the room nothing uses.
        void CopyRows(const Data& other, std::size_t rowCount);
        // Room for a text, at the end of the last block or in a new one.
        void Place(Slot& cell, std::size_t room);
        void AddBlock(std::size_t size);
    };
    static constexpr char kNoText[] = "";
    static constexpr std::size_t kMaxCellBytes = std::size_t{1} << 30;
    // A cell's room: its text rounded up to whole words, so a figure that
    // grows by a digit or two usually still fits.
    static std::uint32_t RoomFor(std::size_t length)
    {
        return static_cast<std::uint32_t>((length + 7) & ~std::size_t{7});
    }
    void PutText(int col, int row, std::string_view text);
    // The cell (col, row) when it can be written at once: this grid's own,
    // its row made; nothing when the write needs the general way.
    Slot* CellToWrite(int col, int row)
    {
        Data* d = data_.get();
        if (data_.use_count() != 1 || row < 0 || static_cast<size_t>(row) >= d->rows.size() || col < 0 ||
            col >= d->cols)
            return nullptr;
        const std::uint32_t made = d->rows[static_cast<size_t>(row)];
        if (made == 0)
            return nullptr;
        return &d->cells[(made - 1) * static_cast<size_t>(d->cols) + static_cast<size_t>(col)];
    }
    Data& Mutable();
    std::shared_ptr<Data> data_;
};

// An ordered list of text lines (the ECL and INF text buffers). The lines
// live in one text: a project's hundreds of thousands of lines stay where the
// file put them, and a replaced line is written after the others. Copies share
// the text until one of them changes.
class TextList : public Versioned {
public:
    struct Span {
        size_t offset;
        size_t length;
    };

    TextList() : data_(std::make_shared<Data>()) {}

    int Count() const { return static_cast<int>(data_->spans.size()); }
    std::string_view operator[](int i) const
    {
        const Span& sp = data_->spans[static_cast<size_t>(i)];
        return std::string_view(data_->text).substr(sp.offset, sp.length);
    }
    // The lines as they stand, read without a check per line: valid while
    // the list does not change (a pass that reads every line of a file).
    class View {
    public:
        int Count() const { return count_; }
        std::string_view operator[](int i) const
        {
            const Span& sp = spans_[i];
            return std::string_view(text_ + sp.offset, sp.length);
        }

    private:
        friend class TextList;
        View(const char* text, const Span* spans, int count) : text_(text), spans_(spans), count_(count) {}
        const char* text_;
        const Span* spans_;
        int count_;
    };
    View Viewed() const { return View(data_->text.data(), data_->spans.data(), Count()); }
    // A copy of every line.
    std::vector<std::string> Lines() const;
    void Clear();
    void Add(std::string_view line);
    void Assign(const std::vector<std::string>& lines);
    void Set(int i, std::string_view line);
    // Takes a whole text and the places of its lines in it.
    void Adopt(std::string text, std::vector<Span> spans);
    // Keeps the first `count` lines.
    void Truncate(int count);
    // Takes the lines of another list, which is left empty.
    void TakeFrom(TextList& other);

    bool SharesTextWith(const TextList& other) const { return data_ == other.data_; }
    std::size_t TextBytes() const;
    const void* TextId() const { return data_.get(); }

    bool operator==(const TextList& other) const;

private:
    struct Data {
        std::string text;
        std::vector<Span> spans;
        size_t live = 0;  // bytes of text that lines use
    };
    Data& Mutable();
    void Compact(Data& d);
    std::shared_ptr<Data> data_;
};

// A list of names with check marks.
class CheckList : public Versioned {
public:
    struct Entry {
        std::string text;
        bool checked = false;
        bool operator==(const Entry&) const = default;
    };
    int Count() const { return static_cast<int>(entries_.size()); }
    const Entry& operator[](int i) const { return entries_[static_cast<size_t>(i)]; }
    const std::string& Text(int i) const { return entries_[static_cast<size_t>(i)].text; }
    bool Checked(int i) const { return entries_[static_cast<size_t>(i)].checked; }
    void SetChecked(int i, bool checked);
    void Clear();
    void Add(std::string text);
    int IndexOf(const std::string& text) const;  // first entry with that exact text, or -1
    // Answered without a scan: redistribution asks these for every title set
    // on every size move.
    int CheckedCount() const { return checkedCount_; }
    bool AnyCheckedWithText(const std::string& text) const;

    bool operator==(const CheckList& other) const { return entries_ == other.entries_; }

private:
    std::vector<Entry> entries_;
    int checkedCount_ = 0;
    std::unordered_map<std::string, int> checkedByText_;
};

// An editable drop-down list.
class ComboBox : public Versioned {
public:
    ComboBox() = default;
    explicit ComboBox(std::string text) : text_(std::move(text)) {}
    ComboBox(std::string text, std::vector<std::string> items) : text_(std::move(text)), items_(std::move(items)) {}

    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(std::vector<std::string> items);
    void AddItem(std::string item);
    void InsertItem(int index, std::string item);
    void Clear();  // items and text

    bool operator==(const ComboBox& other) const { return text_ == other.text_ && items_ == other.items_; }

private:
    std::string text_;
    std::vector<std::string> items_;
};

class EditBox : public Versioned {
public:
    EditBox() = default;
    explicit EditBox(std::string text) : text_(std::move(text)) {}
    const std::string& Text() const { return text_; }
    void SetText(std::string text);

    bool operator==(const EditBox& other) const { return text_ == other.text_; }

private:
    std::string text_;
};

class Label : public Versioned {
public:
    Label() = default;
    explicit Label(std::string caption) : caption_(std::move(caption)) {}
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);

    bool operator==(const Label& other) const { return caption_ == other.caption_; }

private:
    std::string caption_;
};

class Button : public Versioned {
public:
    explicit Button(std::string caption, bool enabled = true) : caption_(std::move(caption)), enabled_(enabled) {}
    const std::string& Caption() const { return caption_; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    bool operator==(const Button& other) const { return caption_ == other.caption_ && enabled_ == other.enabled_; }

private:
    std::string caption_;
    bool enabled_;
};

// An integer slider. A minimum above the maximum (or a maximum below the
// minimum) is ignored; the position is kept inside the range. Each setter
// returns whether the thumb moved: whoever moved it decides whether the
// slider's change handler runs.
class TrackBar : public Versioned {
public:
    TrackBar(int min, int max, int position, int pageSize, int frequency)
        : min_(min), max_(max), position_(position), pageSize_(pageSize), frequency_(frequency) {}

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int PageSize() const { return pageSize_; }
    int Frequency() const { return frequency_; }

    bool SetMin(int v);
    bool SetMax(int v);
    bool SetPosition(int v);

    bool operator==(const TrackBar& other) const
    {
        return min_ == other.min_ && max_ == other.max_ && position_ == other.position_ &&
               pageSize_ == other.pageSize_ && frequency_ == other.frequency_;
    }

private:
    bool MoveTo(int v);
    int min_;
    int max_;
    int position_;
    int pageSize_;
    int frequency_;
};

}  // namespace rq
