#include "project/apply.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/arith.h"
#include "model/errors.h"
#include "model/numbers.h"
#include "project/aggregation.h"
#include "project/inf_sections.h"
#include "project/key_lines.h"
#include "views/grid_views.h"

namespace rq {

namespace {

constexpr size_t kTitleMax = 1024;

// A title set that the allocation drove to nothing or below would be written
// as zero or negative bitrates, which the encoder cannot use.
void RefuseEmptyTitleSets(const ProjectState& s)
{
    const int N = s.VTSRangeEnd();
    for (int k = 1; k <= N; ++k) {
        const TVTSData& v = s.VTSData[static_cast<size_t>(k)];
        if (v.Name.empty() || v.NewSize > 0)
            continue;
        // Whole kbit/s, as the encoder control list would carry it.
        const double b = v.NewBitRateAvg;
        const std::string bitrate = std::fabs(b) < 1e18 ? FormatInteger(Trunc64(b)) : FormatGeneral(b);
        throw AppError("Title set " + v.Name + " would get a bitrate of " + bitrate +
                       " kbit/s; nothing was applied");
    }
}

// An item's figure: as read with the table, or parsed from its cell.
class Figures {
public:
    Figures(const TextGrid& items, const ItemFiguresRecord& kept)
        : items_(items), read_(kept.read && kept.read->Of(items, NumberSeparators()) ? kept.read.get() : nullptr)
    {
    }
    Extended Bitrate(int r) const
    {
        return read_ && r > 0 ? read_->rows[static_cast<size_t>(r - 1)].bitrate : ParseReal(items_.Cell(kColBitrate, r));
    }
    Extended KBytes(int r) const
    {
        return read_ && r > 0 ? read_->rows[static_cast<size_t>(r - 1)].kbytes : ParseReal(items_.Cell(kColKBytes, r));
    }
    Extended Reduction(int r) const
    {
        return read_ && r > 0 ? read_->rows[static_cast<size_t>(r - 1)].reduction : ParseReal(items_.Cell(kColReduction, r));
    }
    // Whether the figures are the kept ones.
    bool Kept() const { return read_ != nullptr; }

private:
    const TextGrid& items_;
    const ItemFiguresRead* read_;
};

// A text of a figure and what it reads back as.
struct FigureText {
    std::string text;
    Extended value = 0;
};

// The sizes are scaled here but written by the aggregation that follows (from
// the new bitrates), or, where an error stops either short of a row, from
// `sizes`.
void UpdateItems(ProjectState& s, PendingSizes& sizes)
{
    TextGrid& items = s.StringGrid1;
    sizes.kbytes.assign(static_cast<size_t>(std::max(items.RowCount(), 0)), std::numeric_limits<Extended>::quiet_NaN());
    // An item's figures are read before its cells are written.
    const Figures figures(items, s.itemFigures);
    // While the kept figures hold, they follow the cells written, so that the
    // aggregation after need not read them again.
    ItemFiguresRead* follow = nullptr;
    if (figures.Kept()) {
        if (s.itemFigures.read.use_count() > 1)
            s.itemFigures.read = std::make_shared<ItemFiguresRead>(*s.itemFigures.read);
        follow = s.itemFigures.read.get();
        follow->sizesOwn = false;  // the sizes written here are the old ones scaled
    }
    const int N = s.VTSRangeEnd();
    // The reduction text is the same for every item of a title set.
    std::array<std::optional<FigureText>, kVTSRecords> reduction;
    // A name belongs to one record at most (its number), so the record of an
    // item's key is found once instead of comparing every record.
    std::unordered_map<std::string, int> recordOf;
    for (int k = 1; k <= N; ++k) {
        const TVTSData& v = s.VTSData[static_cast<size_t>(k)];
        if (!v.Name.empty())
            recordOf.emplace(v.Name, k);
    }
    // Items of one title set follow one another: the record of the row before
    // is kept. No record has an empty name, so an empty title has none.
    std::string lastKey;
    int k = 0;
    for (int r = 1; r < items.RowCount(); ++r) {
        const std::string_view key = std::string_view(items.Cell(kColTitle, r)).substr(0, 3);
        if (key != lastKey) {
            lastKey = key;
            const auto found = recordOf.find(lastKey);
            k = found == recordOf.end() ? 0 : found->second;
        }
        if (k == 0)
            continue;
        {
            const TVTSData& v = s.VTSData[static_cast<size_t>(k)];
            const Extended factor = Div(v.PercentChange, 100);
            const double bitrate = StoreDouble(Mul(figures.Bitrate(r), factor));
            ItemFigures written{};
            char text[kGeneralTextMax];
            items.SetCell(kColBitrate, r, FormatGeneralTo(text, bitrate, NumberSeparators(), &written.bitrate));
            std::optional<FigureText>& percent = reduction[static_cast<size_t>(k)];
            if (!percent) {
                percent.emplace();
                percent->text = FormatGeneralTo(text, v.NewOverallPercent, NumberSeparators(), &percent->value);
            }
            items.SetCell(kColReduction, r, percent->text);
            // The row's kept figures change only once the row is done, so the size is still the old one.
            sizes.kbytes[static_cast<size_t>(r)] = Mul(figures.KBytes(r), factor);
            // A text that reads as no number must be found by the aggregation's own reading.
            if (std::isnan(written.bitrate) || std::isnan(percent->value))
                follow = nullptr;
            if (follow) {
                ItemFigures& kept = follow->rows[static_cast<size_t>(r - 1)];
                kept.bitrate = written.bitrate;
                kept.reduction = percent->value;
                kept.kbytes = sizes.kbytes[static_cast<size_t>(r)];  // its text is not written yet
            }
        }
    }
    if (follow)
        follow->version = items.Version();
}

// The lines a pass replaces, by index, their texts one after another in one
// buffer. A pass records them all before any is put in, so a pass that fails
// leaves its buffer as it was.
class Replacements {
public:
    void Add(int index, std::string_view key, std::string_view value)
    {
        lines_.push_back({index, TextList::Span{text_.size(), key.size() + value.size()}});
        text_ += key;
        text_ += value;
    }
    void PutIn(TextList& buffer) const
    {
        for (const auto& [index, span] : lines_)
            buffer.Set(index, std::string_view(text_).substr(span.offset, span.length));
    }

private:
    std::vector<std::pair<int, TextList::Span>> lines_;
    std::string text_;
};

// The ECL pass: each item's bitrate (whole kbit/s, cut), pass count and width
// flag into the key lines that follow its "title=" line. Only one key can
// match a line, and a replaced line starts with the key it replaced.
Replacements RewriteECL(const ProjectState& s, const TitleRows& titles, const Figures& figures)
{
    const TextGrid& items = s.StringGrid1;
    // Row 0 holds the column names, not an item.
    const auto itemRows = [&titles](std::string_view title) {
        const std::span<const int> rows = titles.For(title);
        return !rows.empty() && rows.front() == 0 ? rows.subspan(1) : rows;
    };
    // An item's key lines follow its title line: look each title up once.
    std::string title;
    std::span<const int> rows = itemRows(title);
    const TextList::View lines = s.ListBox1.Viewed();
    Replacements out;
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string_view line = lines[i];
        // Every key the rewrite writes starts with t, v or h: most lines are passed over at once.
        const char first = line.empty() ? '\0' : static_cast<char>(line[0] | 0x20);
        if (first != 't' && first != 'v' && first != 'h')
            continue;
        const EclKey* k = KeyOfLine(line);
        if (k == nullptr)
            continue;
        // The item cells stay as they are during the pass: a value may be a view of one.
        std::string_view key;
        std::string_view value;
        char number[24];
        switch (k->column) {
        case kColTitle:
            if (AssignLowerAscii(title, line.substr(k->key.size(), kTitleMax)))
                rows = itemRows(title);
            break;
        case kColBitrate:
            for (const int r : rows) {
                key = k->key;
                const std::int64_t kbits = Trunc64(figures.Bitrate(r));
                value = std::string_view(number, static_cast<size_t>(std::to_chars(number, number + sizeof number, kbits).ptr - number));
            }
            break;
        case kColPass:
        case kColHalfWidth:
            for (const int r : rows) {
                key = k->key;
                value = items.Cell(k->column, r);
            }
            break;
        default:
            break;
        }
        if (!key.empty())
            out.Add(i, key, value);
    }
    return out;
}

// The INF pass: each item's reduction, cut to one decimal, into the
// "reduction=" lines of the section named by its title.
Replacements RewriteINF(const ProjectState& s, const TitleRows& titles, const Figures& figures)
{
    Replacements out;
    // The items of a title set share one reduction: its text is made once.
    std::optional<std::int64_t> lastTenths;
    std::string lastText;
    ForEachReductionLine(s.ListBox2, titles, [&](int i, std::string_view, std::span<const int> rows) {
        // Every item is cut (an item's figure may be out of range); the last one's is written.
        std::int64_t tenths = 0;
        for (const int r : rows)
            tenths = Trunc64(Mul(figures.Reduction(r), 10));
        if (lastTenths != tenths) {
            lastTenths = tenths;
            lastText = FormatGeneral(Div(static_cast<Extended>(tenths), 10));
        }
        out.Add(i, "Reduction=", lastText);
    });
    return out;
}

}  // namespace

void ModifyECL(ProjectState& s)
{
    // Neither pass changes the item table: one index and one set of figures serve both.
    const TitleRows titles(s.StringGrid1);
    const Figures figures(s.StringGrid1, s.itemFigures);
    RewriteECL(s, titles, figures).PutIn(s.ListBox1);
    RewriteINF(s, titles, figures).PutIn(s.ListBox2);
    s.Button7.SetEnabled(true);
}

void ApplyChanges(ProjectState& s)
{
    RefuseEmptyTitleSets(s);
    PendingSizes sizes;
    try {
        UpdateItems(s, sizes);
    } catch (...) {
        // The rows done keep their scaled sizes.
        s.itemFigures.read.reset();
        sizes.WriteFrom(s, 0);
        throw;
    }
    ProcessLoadedECL(s, sizes);
    ModifyECL(s);
}

}  // namespace rq
