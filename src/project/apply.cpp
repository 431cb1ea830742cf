#include "project/apply.h"

#include <array>
#include <charconv>
#include <cmath>
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

void UpdateItems(ProjectState& s)
{
    TextGrid& items = s.StringGrid1;
    const int N = s.VTSRangeEnd();
    // The reduction text is the same for every item of a title set.
    std::array<std::optional<std::string>, kVTSRecords> reduction;
    // A name belongs to one record at most (its number), so the record of an
    // item's key is found once instead of comparing every record.
    std::unordered_map<std::string, int> recordOf;
    for (int k = 1; k <= N; ++k) {
        const TVTSData& v = s.VTSData[static_cast<size_t>(k)];
        if (!v.Name.empty())
            recordOf.emplace(v.Name, k);
    }
    for (int r = 1; r < items.RowCount(); ++r) {
        const auto found = recordOf.find(items.Cell(kColTitle, r).substr(0, 3));
        if (found == recordOf.end())
            continue;
        {
            const int k = found->second;
            const TVTSData& v = s.VTSData[static_cast<size_t>(k)];
            const Extended factor = Div(v.PercentChange, 100);
            const double bitrate = StoreDouble(Mul(ParseReal(items.Cell(kColBitrate, r)), factor));
            items.SetCell(kColBitrate, r, FormatGeneral(bitrate));
            std::optional<std::string>& percent = reduction[static_cast<size_t>(k)];
            if (!percent)
                percent = FormatGeneral(v.NewOverallPercent);
            items.SetCell(kColReduction, r, *percent);
            items.SetCell(kColKBytes, r, FormatGeneral(Mul(ParseReal(items.Cell(kColKBytes, r)), factor)));
        }
    }
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
Replacements RewriteECL(const ProjectState& s, const TitleRows& titles)
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
    const TextList& lines = s.ListBox1;
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
        case kColTitle: {
            std::string next = LowerAscii(std::string(line.substr(k->key.size(), kTitleMax)));
            if (next != title) {
                title = std::move(next);
                rows = itemRows(title);
            }
            break;
        }
        case kColBitrate:
            for (const int r : rows) {
                key = k->key;
                const std::int64_t kbits = Trunc64(ParseReal(items.Cell(kColBitrate, r)));
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
Replacements RewriteINF(const ProjectState& s, const TitleRows& titles)
{
    const TextGrid& items = s.StringGrid1;
    Replacements out;
    ForEachReductionLine(s.ListBox2, titles, [&](int i, std::string_view, std::span<const int> rows) {
        std::string value;
        for (const int r : rows) {
            const Extended tenths = static_cast<Extended>(Trunc64(Mul(ParseReal(items.Cell(kColReduction, r)), 10)));
            value = FormatGeneral(Div(tenths, 10));
        }
        out.Add(i, "Reduction=", value);
    });
    return out;
}

}  // namespace

void ModifyECL(ProjectState& s)
{
    // Neither pass changes the item table: one index serves both.
    const TitleRows titles(s.StringGrid1);
    RewriteECL(s, titles).PutIn(s.ListBox1);
    RewriteINF(s, titles).PutIn(s.ListBox2);
    s.Button7.SetEnabled(true);
}

void ApplyChanges(ProjectState& s)
{
    RefuseEmptyTitleSets(s);
    UpdateItems(s);
    ProcessLoadedECL(s);
    ModifyECL(s);
}

}  // namespace rq
