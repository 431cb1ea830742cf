#include "project/aggregation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>

#include "engine/commands.h"
#include "model/arith.h"
#include "model/errors.h"
#include "model/numbers.h"
#include "project/place.h"
#include "views/grid_views.h"

namespace rq {

namespace {

// A column whose texts repeat from row to row (the frame rates; the
// reductions after an apply, one per title set): the last text read is
// remembered with its value.
class RepeatedReal {
public:
    explicit RepeatedReal(const Separators& seps) : seps_(seps) {}
    Extended Read(std::string_view text)
    {
        if (!known_ || text != text_) {
            value_ = ParseReal(text, seps_);
            text_ = text;
            known_ = true;
        }
        return value_;
    }

private:
    const Separators& seps_;
    bool known_ = false;
    std::string text_;
    Extended value_ = 0;
};

// Sums kept per VTS number for one aggregation.
struct SetTotals {
    std::int32_t frames = 0;
    double kbytes = 0;
    double reductionSum = 0;
    std::int32_t items = 0;
    bool frameRateSet = false;
};

// Phase 1: every item's size, and the items summed into their title sets.
// A title set whose items are split over several runs of rows (v01, v02, v01)
// is summed over all of them, so its size and length are those of the whole
// set; its frame rate is that of its first item.
void ItemsIntoRecords(ProjectState& s, int& sizesWritten)
{
    TextGrid& items = s.StringGrid1;
    auto kept = std::make_shared<ItemFiguresRead>();
    ItemFiguresRead& read = *kept;
    read.seps = NumberSeparators();
    read.rows.resize(static_cast<size_t>(std::max(items.RowCount() - 1, 0)));
    // The figures the command before kept, while the table is as they were
    // read (or written) from it: its cells need not be read again.
    const std::shared_ptr<const ItemFiguresRead> before =
        s.itemFigures.read && s.itemFigures.read->Of(items, read.seps) ? s.itemFigures.read : nullptr;
    std::array<SetTotals, kVTSRecords> totals{};
    std::string previousName;
    std::string previousStart;
    RepeatedReal rates(read.seps);
    RepeatedReal reductions(read.seps);
    int current = 0;
    for (int r = 1; r < items.RowCount(); ++r) {
        // The value being read, so that an error can say where it was found.
        int column = kColLastEncode;
        try {
            ItemFigures& figures = read.rows[static_cast<size_t>(r - 1)];
            const ItemFigures* known = before ? &before->rows[static_cast<size_t>(r - 1)] : nullptr;
            figures.last = known ? known->last : ParseInteger(items.Cell(kColLastEncode, r));
            const std::int32_t last = AddInt32(figures.last, 1);
            column = kColFirstEncode;
            const std::int32_t first = figures.first = known ? known->first : ParseInteger(items.Cell(kColFirstEncode, r));
            column = kColBitrate;
            const Extended bitrate = figures.bitrate =
                known ? known->bitrate : ParseReal(items.Cell(kColBitrate, r), read.seps);
            column = kColFrameRate;
            const Extended rate = figures.rate = known ? known->rate : rates.Read(items.Cell(kColFrameRate, r));
            column = -1;  // the segment as a whole
            const std::int32_t frames = SubInt32(last, first);
            Extended written = 0;
            if (known && before->sizesOwn) {
                written = known->kbytes;  // the same figures made it, and its text is in the cell
            } else {
                // Kilobits to kilobytes: dividing by 8 and by 1024 is multiplying
                // by 2^-3 and 2^-10, the same real number rounded the same way,
                // each bit for bit the division, without its wait.
                const Extended kbytes = Mul(Div(Mul(Mul(Mul(bitrate, 1000), 0x1p-3L), 0x1p-10L), rate), frames);
                char text[kGeneralTextMax];
                items.SetCell(kColKBytes, r, FormatGeneralTo(text, kbytes, read.seps, &written));
            }
            sizesWritten = r + 1;

            column = kColTitle;
            // A title that starts as the one before names the same title set.
            const std::string_view start = items.Cell(kColTitle, r).substr(0, 3);
            if (start != previousStart) {
                previousStart = start;
                const std::string name = VTSName(items.Cell(kColTitle, r));
                if (name != previousName) {
                    current = VTSNumber(name);
                    if (current > s.VTSRangeEnd())
                        s.StringGrid2.SetRowCount(current + 1);
                    previousName = name;
                    TVTSData& v = s.VTSData[static_cast<size_t>(current)];
                    v.Name = name;
                    SetTotals& started = totals[static_cast<size_t>(current)];
                    if (!started.frameRateSet) {
                        v.FrameRate = StoreDouble(rate);
                        started.frameRateSet = true;
                    }
                }
            }
            SetTotals& t = totals[static_cast<size_t>(current)];
            TVTSData& v = s.VTSData[static_cast<size_t>(current)];

            column = kColReduction;
            figures.reduction = known ? known->reduction : reductions.Read(items.Cell(kColReduction, r));
            t.reductionSum = StoreDouble(Add(t.reductionSum, figures.reduction));
            column = -1;
            t.items = AddInt32(t.items, 1);
            v.OriginalAveragePercent = StoreDouble(Div(t.reductionSum, t.items));

            t.frames = AddInt32(t.frames, frames);
            v.Frames = t.frames;

            column = kColKBytes;
            // The cell's text was just written: what it reads as is known.
            figures.kbytes = std::isnan(written) ? ParseReal(items.Cell(kColKBytes, r), read.seps) : written;
            t.kbytes = StoreDouble(Add(figures.kbytes, t.kbytes));
            v.KBytes = t.kbytes;

            v.NewSize = v.KBytes;
            v.PercentChange = 100;
        } catch (const AppError& e) {
            throw AtItem(e, s, r, column);
        }
    }
    read.version = items.Version();
    read.sizesOwn = true;
    s.itemFigures.read = kept;
    UpdateVTSDataToStringGrid(s, &read);
}

void ClearSelectors(ProjectState& s)
{
    for (ComboBox* c : {&s.ComboBox1, &s.ComboBox3, &s.ComboBox4, &s.ComboBox5, &s.ComboBox6})
        c->Clear();
    s.CheckListBox1.Clear();
}

// Phase 2: the derived figures, the total, the lists and the default choices.
void RecordsIntoLists(ProjectState& s)
{
    ClearSelectors(s);
    std::int32_t largest = 0;
    std::int32_t smallest = 99999999;
    s.Label2.SetCaption("0");
    const int N = s.VTSRangeEnd();
    for (int k = 1; k <= N; ++k) {
        TVTSData& v = s.VTSData[static_cast<size_t>(k)];
        if (v.Name.empty())
            continue;
        v.BitrateAvg = StoreDouble(Div(Mul(Mul(Mul(Div(v.KBytes, v.Frames), v.FrameRate), 8), 1024), 1000));
        v.NewBitRateAvg = v.BitrateAvg;
        v.NewOverallPercent = v.OriginalAveragePercent;
        v.TempPercentChange = 100;
        s.Label2.SetCaption(FormatGeneral(Add(ParseReal(s.Label2.Caption()), v.KBytes)));
        // The main selectors default to the longest title set (the film), the
        // encoder dialog's to the shortest; on a tie the lower number wins.
        if (v.Frames > largest) {
            s.ComboBox1.SetText(v.Name);
            for (ComboBox* c : {&s.ComboBox3, &s.ComboBox4, &s.ComboBox5, &s.ComboBox6})
                c->SetText(s.ComboBox1.Text());
            largest = v.Frames;
        }
        if (v.Frames < smallest) {
            s.Form2.ComboBox1.SetText(v.Name);
            s.Form2.ComboBox2.SetText(v.Name);
            smallest = v.Frames;
        }
        for (ComboBox* c : {&s.ComboBox1, &s.ComboBox3, &s.ComboBox4, &s.ComboBox5, &s.ComboBox6})
            c->AddItem(v.Name);
        s.CheckListBox1.Add(v.Name);
    }
    UpdateVTSDataToStringGrid(s);
    for (Button* b : {&s.Button3, &s.Button4, &s.Button5, &s.Button11, &s.Button9, &s.Button10, &s.Button2})
        b->SetEnabled(true);
}

}  // namespace

void PendingSizes::WriteFrom(ProjectState& s, int from) const
{
    for (size_t r = static_cast<size_t>(std::max(from, 0)); r < kbytes.size(); ++r)
        if (!std::isnan(kbytes[r]))
            s.StringGrid1.SetCell(kColKBytes, static_cast<int>(r), FormatGeneral(kbytes[r]));
}

void ProcessLoadedECL(ProjectState& s, const PendingSizes& pending)
{
    int sizesWritten = 0;
    try {
        ItemsIntoRecords(s, sizesWritten);
    } catch (...) {
        if (!pending.kbytes.empty()) {
            // The figures the apply kept say nothing of the sizes it left unwritten.
            s.itemFigures.read.reset();
            pending.WriteFrom(s, sizesWritten);
        }
        throw;
    }
    RecordsIntoLists(s);
    // "Change" by 100 percent moves no size but brings every title set's
    // derived figures up to date.
    s.Edit2.SetText("100");
    ChangeByPercentage(s, s.ComboBox1.Text(), s.Edit2.Text());
    s.Edit2.SetText("101");
}

void ProcessLoadedECL(ProjectState& s) { ProcessLoadedECL(s, PendingSizes{}); }

}  // namespace rq
