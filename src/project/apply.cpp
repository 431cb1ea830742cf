#include "project/apply.h"

#include <cmath>
#include <unordered_map>
#include <vector>

#include "model/arith.h"
#include "model/errors.h"
#include "model/numbers.h"
#include "project/aggregation.h"
#include "project/key_lines.h"

namespace rq {

namespace {

constexpr size_t kTitleMax = 1024;

using RowsOfTitle = std::unordered_map<std::string, std::vector<int>>;

// The item rows of each title, from firstRow on, in ascending order: a key line
// is written from every matching row in turn, so the last one decides.
RowsOfTitle IndexTitles(const TextGrid& items, int firstRow)
{
    RowsOfTitle index;
    for (int r = firstRow; r < items.RowCount(); ++r)
        index[items.Cell(kColTitle, r)].push_back(r);
    return index;
}

const std::vector<int>& RowsFor(const RowsOfTitle& index, const std::string& title)
{
    static const std::vector<int> none;
    const auto found = index.find(title);
    return found == index.end() ? none : found->second;
}

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
    for (int r = 1; r < items.RowCount(); ++r) {
        const std::string key = items.Cell(kColTitle, r).substr(0, 3);
        for (int k = 1; k <= N; ++k) {
            const TVTSData& v = s.VTSData[static_cast<size_t>(k)];
            if (v.Name.empty() || v.Name != key)
                continue;
            const Extended factor = Div(v.PercentChange, 100);
            const double bitrate = StoreDouble(Mul(ParseReal(items.Cell(kColBitrate, r)), factor));
            items.SetCell(kColBitrate, r, FormatGeneral(bitrate));
            items.SetCell(kColReduction, r, FormatGeneral(v.NewOverallPercent));
            items.SetCell(kColKBytes, r, FormatGeneral(Mul(ParseReal(items.Cell(kColKBytes, r)), factor)));
        }
    }
}

// The ECL pass: each item's bitrate (whole kbit/s, cut), pass count and width
// flag into the key lines that follow its "title=" line.
std::vector<std::string> RewriteECL(const ProjectState& s)
{
    const TextGrid& items = s.StringGrid1;
    const RowsOfTitle index = IndexTitles(items, 1);
    std::vector<std::string> work = s.ListBox1.Lines();
    std::string title;
    for (std::string& line : work) {
        if (StartsWithKey(line, "title="))
            title = LowerAscii(line.substr(6, kTitleMax));
        if (StartsWithKey(line, "vbr_brate_avg="))
            for (const int r : RowsFor(index, title))
                line = "vbr_brate_avg=" + FormatInteger(Trunc64(ParseReal(items.Cell(kColBitrate, r))));
        if (StartsWithKey(line, "vbr_pass="))
            for (const int r : RowsFor(index, title))
                line = "vbr_pass=" + items.Cell(kColPass, r);
        if (StartsWithKey(line, "half_width="))
            for (const int r : RowsFor(index, title))
                line = "half_width=" + items.Cell(kColHalfWidth, r);
    }
    return work;
}

// The INF pass: each item's reduction, cut to one decimal, into the
// "reduction=" lines of the section named by its title.
std::vector<std::string> RewriteINF(const ProjectState& s)
{
    const TextGrid& items = s.StringGrid1;
    const RowsOfTitle index = IndexTitles(items, 0);
    std::vector<std::string> work = s.ListBox2.Lines();
    std::string section;
    for (std::string& line : work) {
        if (line.find('[') != std::string::npos)
            section = SectionName(line);
        if (!StartsWithKey(line, "reduction="))
            continue;
        for (const int r : RowsFor(index, section)) {
            const Extended tenths = static_cast<Extended>(Trunc64(Mul(ParseReal(items.Cell(kColReduction, r)), 10)));
            line = "Reduction=" + FormatGeneral(Div(tenths, 10));
        }
    }
    return work;
}

}  // namespace

void ModifyECL(ProjectState& s)
{
    s.ListBox1.Assign(RewriteECL(s));
    s.ListBox2.Assign(RewriteINF(s));
    s.Button7.SetEnabled(true);
}

void Button4Click(ProjectState& s)
{
    RefuseEmptyTitleSets(s);
    UpdateItems(s);
    ProcessLoadedECL(s);
    ModifyECL(s);
}

}  // namespace rq
