#pragma once
// Toolkit-free models of the window's controls. The tables of the program are
// the texts these controls hold; a window only mirrors them. Every mutation
// bumps a version counter so a view can tell cheaply whether it must repaint.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace rq {

class Versioned {
public:
    std::uint64_t Version() const { return version_; }
    // After a control took an earlier copy's contents by assignment (which
    // brings the copy's version along): moves the version on past `before`,
    // never back, so every view that saw any of its versions repaints.
    void MoveVersionPast(std::uint64_t before) { version_ = (before > version_ ? before : version_) + 1; }

protected:
    void Touch() { ++version_; }

private:
    std::uint64_t version_ = 1;
};

// A grid of text cells (columns x rows); row 0 is the header row.
class TextGrid : public Versioned {
public:
    TextGrid(int cols, int rows);

    int ColCount() const { return cols_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    void SetRowCount(int rows);

    const std::string& Cell(int col, int row) const;
    void SetCell(int col, int row, const std::string& text);
    void SetCell(int col, int row, std::string&& text);
    const std::vector<std::string>& Row(int row) const;

    // Text made when first read: a view that is refreshed many times per
    // command records what it must show and marks itself pending; the read
    // hook writes the cells before anyone reads them.
    void SetReadHook(std::function<void()> hook) { readHook_ = std::move(hook); }
    const std::function<void()>& ReadHook() const { return readHook_; }
    void MarkPending();
    bool Pending() const { return pending_; }
    void Flush() const;
    // A cell's text as it stands, without making pending text.
    const std::string& RawCell(int col, int row) const;
    // Runs before a cell's text changes, with the text it had.
    std::function<void(int col, int row, const std::string& before)> BeforeCellChange;

private:
    template <typename Text>
    void Put(int col, int row, Text&& text);
    int cols_;
    std::vector<std::vector<std::string>> rows_;  // an empty row vector: all cells empty
    std::vector<std::string> emptyRow_;
    std::function<void()> readHook_;
    mutable bool pending_ = false;
};

// An ordered list of text lines (the ECL and INF text buffers). The lines
// live in one text: a project's hundreds of thousands of lines stay where the
// file put them, and a replaced line is written after the others.
class TextList : public Versioned {
public:
    struct Span {
        size_t offset;
        size_t length;
    };

    int Count() const { return static_cast<int>(spans_.size()); }
    std::string_view operator[](int i) const
    {
        const Span& sp = spans_[static_cast<size_t>(i)];
        return std::string_view(text_).substr(sp.offset, sp.length);
    }
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

private:
    void Compact();
    std::string text_;
    std::vector<Span> spans_;
    size_t live_ = 0;  // bytes of text_ that lines use
};

// A list of names with check marks. SetChecked is the program's silent change;
// a user's toggle goes through UserToggle, which runs the click handler.
class CheckList : public Versioned {
public:
    struct Entry {
        std::string text;
        bool checked = false;
    };
    int Count() const { return static_cast<int>(entries_.size()); }
    const Entry& operator[](int i) const { return entries_[static_cast<size_t>(i)]; }
    const std::string& Text(int i) const { return entries_[static_cast<size_t>(i)].text; }
    bool Checked(int i) const { return entries_[static_cast<size_t>(i)].checked; }
    void SetChecked(int i, bool checked);
    void Clear();
    void Add(std::string text);
    int IndexOf(const std::string& text) const;  // first entry with that exact text, or -1
    void UserToggle(int i);
    // Answered without a scan: redistribution asks these for every title set
    // on every size move.
    int CheckedCount() const { return checkedCount_; }
    bool AnyCheckedWithText(const std::string& text) const;

    std::function<void()> OnClickCheck;

private:
    std::vector<Entry> entries_;
    int checkedCount_ = 0;
    std::unordered_map<std::string, int> checkedByText_;
};

// An editable drop-down list. SetText is the program's silent change; UserSetText
// is the user's typing or pick, which runs the change handler when one is set.
class ComboBox : public Versioned {
public:
    ComboBox() = default;
    explicit ComboBox(std::string text) : text_(std::move(text)) {}
    ComboBox(std::string text, std::vector<std::string> items) : text_(std::move(text)), items_(std::move(items)) {}

    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    void UserSetText(std::string text);
    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(std::vector<std::string> items);
    void AddItem(std::string item);
    void InsertItem(int index, std::string item);
    void Clear();  // items and text

    std::function<void()> OnChange;

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

private:
    std::string text_;
};

class Label : public Versioned {
public:
    Label() = default;
    explicit Label(std::string caption) : caption_(std::move(caption)) {}
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);

private:
    std::string caption_;
};

class Button : public Versioned {
public:
    explicit Button(std::string caption, bool enabled = true) : caption_(std::move(caption)), enabled_(enabled) {}
    const std::string& Caption() const { return caption_; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

private:
    std::string caption_;
    bool enabled_;
};

// An integer slider. A minimum above the maximum (or a maximum below the
// minimum) is ignored; the position is kept inside the range; every change of
// the position runs the change handler at once, synchronously.
class TrackBar : public Versioned {
public:
    TrackBar(int min, int max, int position, int pageSize, int frequency)
        : min_(min), max_(max), position_(position), pageSize_(pageSize), frequency_(frequency) {}

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int PageSize() const { return pageSize_; }
    int Frequency() const { return frequency_; }

    void SetMin(int v);
    void SetMax(int v);
    void SetPosition(int v);
    // The end-of-scroll notification: runs the handler with the position unchanged.
    void NotifyEndScroll();

    std::function<void()> OnChange;

private:
    void MoveTo(int v);
    int min_;
    int max_;
    int position_;
    int pageSize_;
    int frequency_;
};

}  // namespace rq
