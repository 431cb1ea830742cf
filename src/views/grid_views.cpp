#include "views/grid_views.h"

#include <array>
#include <unordered_map>

#include "model/arith.h"

namespace rq {

namespace {

struct HMSF {
    std::int32_t hours, minutes, seconds, frames;
};

// The run-time arithmetic shared by the item and title-set views; hours come
// from G, everything else from F.
HMSF SplitFrames(std::int32_t f, Extended F, Extended G)
{
    const Extended fe = f;
    HMSF t{};
    t.hours = NarrowInt32(Trunc64(Div(Div(fe, G), 3600)));
    t.minutes = SubInt32(NarrowInt32(Trunc64(Div(Div(fe, F), 60))), MulInt32(60, t.hours));
    t.seconds = SubInt32(SubInt32(NarrowInt32(Trunc64(Div(fe, F))), MulInt32(60, t.minutes)), MulInt32(3600, t.hours));
    const Extended rest =
        Sub(Sub(Sub(fe, Mul(t.seconds, F)), Mul(Mul(60.0L, t.minutes), F)), Mul(Mul(3600.0L, t.hours), F));
    t.frames = NarrowInt32(Trunc64(rest));
    return t;
}

// Writes text recorded under other separators with those separators.
class RecordedSeparators {
public:
    explicit RecordedSeparators(const Separators& recorded) : old_(SwapSeparatorsQuietly(recorded)) {}
    ~RecordedSeparators() { SwapSeparatorsQuietly(old_); }
    RecordedSeparators(const RecordedSeparators&) = delete;
    RecordedSeparators& operator=(const RecordedSeparators&) = delete;

private:
    Separators old_;
};

// ---- The summary grid -------------------------------------------------------

using SummaryTexts = std::array<std::string, 10>;

SummaryTexts SummaryTextsOf(const TVTSData& v)
{
    return {v.Name,
            FormatInteger(v.Frames),
            FormatGeneral(v.KBytes),
            FormatGeneral(v.BitrateAvg),
            FormatGeneral(v.NewSize),
            FormatGeneral(v.PercentChange),
            FormatGeneral(v.NewBitRateAvg),
            FormatGeneral(v.NewOverallPercent),
            FormatGeneral(v.OriginalAveragePercent),
            FormatGeneral(v.TempPercentChange)};
}

void MaterializeSummary(ProjectState& s)
{
    ViewCache& c = s.viewCache;
    if (!c.summaryPending)
        return;
    c.summaryPending = false;
    RecordedSeparators seps(c.summarySeparators);
    for (int k = 1; k < kVTSRecords; ++k) {
        std::optional<TVTSData>& rec = c.summaryRows[static_cast<size_t>(k)];
        if (!rec)
            continue;
        SummaryTexts texts = SummaryTextsOf(*rec);
        for (int col = 0; col < 10; ++col)
            s.StringGrid2.SetCell(col, k, std::move(texts[static_cast<size_t>(col)]));
        rec.reset();
    }
}

// ---- The VTS details grid and the main VTS grid -------------------------------

void WriteDetailsRow(ProjectState& s, int k, const std::string* sum)
{
    TextGrid& g = s.StringGrid5;
    g.SetCell(0, k, sum[0]);
    g.SetCell(1, k, FormatFloat("%9.0n", ParseReal(sum[1])));
    g.SetCell(2, k, FormatFloat("%10.0n", ParseReal(sum[2])));
    g.SetCell(3, k, FormatFloat("%12.0n", ParseReal(sum[3])));
    g.SetCell(4, k, FormatFloat("%9.0n", ParseReal(sum[4])));
    g.SetCell(5, k, FormatFloat("%15.0n", ParseReal(sum[6])));
    g.SetCell(6, k, FormatFloat("%14.1f", ParseReal(sum[7])));
}

void WriteMainRow(ProjectState& s, int k, const std::string* sum, std::int32_t frames, double rate)
{
    TextGrid& g = s.StringGrid3;
    g.SetCell(0, k, sum[0]);
    g.SetCell(1, k, FormatInteger(Trunc64(ParseReal(sum[3]))));
    g.SetCell(2, k, FormatInteger(Trunc64(ParseReal(sum[6]))));
    const Extended p = ParseReal(sum[7]);
    g.SetCell(3, k, FormatGeneral(Div(static_cast<Extended>(Trunc64(Mul(p, 10))), 10)));
    g.SetCell(4, k, VTSLength(frames, rate));
}

void MaterializeDetails(ProjectState& s)
{
    ViewCache& c = s.viewCache;
    if (!c.detailsPending)
        return;
    c.detailsPending = false;
    RecordedSeparators seps(c.detailSeparators);
    for (int k = 1; k < kVTSRecords; ++k) {
        std::optional<TVTSData>& rec = c.detailRows[static_cast<size_t>(k)];
        if (!rec)
            continue;
        const SummaryTexts texts = SummaryTextsOf(*rec);
        WriteDetailsRow(s, k, texts.data());
        WriteMainRow(s, k, texts.data(), rec->Frames, rec->FrameRate);
        rec.reset();
    }
}

// A named record whose details and main rows can be written later without
// any chance of an error: every figure is far from the limits of a 64-bit
// integer, and its length computes.
bool CannotFailLater(ViewCache& c, int k, const TVTSData& v)
{
    const double limits[] = {v.BitrateAvg, v.NewBitRateAvg};
    for (double x : limits)
        if (!(x > -1e18 && x < 1e18))
            return false;
    if (!(v.NewOverallPercent > -1e17 && v.NewOverallPercent < 1e17))
        return false;
    std::optional<std::pair<std::int32_t, double>>& known = c.lengthComputes[static_cast<size_t>(k)];
    const std::pair<std::int32_t, double> length(v.Frames, v.FrameRate);
    if (known && *known == length)
        return true;
    try {
        SplitFrames(v.Frames, v.FrameRate, v.FrameRate);
    } catch (const AppError&) {
        return false;
    }
    known = length;
    return true;
}

// ---- The item details grid ----------------------------------------------------

std::uint64_t CellKey(int col, int row) { return (static_cast<std::uint64_t>(row) << 8) | static_cast<unsigned>(col); }

// The item table as the pending item view saw it: the current cells, except
// those changed since, whose first recorded text is the one it saw.
class RecordedItems {
public:
    explicit RecordedItems(const ProjectState& s) : s_(s)
    {
        for (const auto& [key, text] : s.viewCache.itemsBefore)
            before_.try_emplace(key, &text);
    }
    const std::string& Cell(int col, int row) const
    {
        if (!before_.empty()) {
            const auto it = before_.find(CellKey(col, row));
            if (it != before_.end())
                return *it->second;
        }
        return s_.StringGrid1.RawCell(col, row);
    }

private:
    const ProjectState& s_;
    std::unordered_map<std::uint64_t, const std::string*> before_;
};

struct CurrentItems {
    const TextGrid& grid;
    const std::string& Cell(int col, int row) const { return grid.RawCell(col, row); }
};

// The frame rate as its two-decimal cell text reads back; the few rates of a
// project repeat, so the last one is remembered.
Extended TwoDecimalRate(double F, std::string& text)
{
    text = FormatFloat("%10.2f", F);
    return ParseReal(text);
}

template <typename Items>
void WriteItemRow(ProjectState& s, const Items& items, int r)
{
    TextGrid& g = s.StringGrid4;
    g.SetCell(0, r, items.Cell(kColTitle, r));
    g.SetCell(1, r, FormatFloat("%7.0n", ParseReal(items.Cell(kColBitrate, r))));
    g.SetCell(2, r, FormatFloat("%9.1f %", ParseReal(items.Cell(kColReduction, r))));
    const std::int32_t last = ParseInteger(items.Cell(kColLastEncode, r));
    const std::int32_t first = ParseInteger(items.Cell(kColFirstEncode, r));
    const std::int32_t f = SubInt32(last, first);
    g.SetCell(3, r, FormatFloat("%9.0n", f));
    const double kbytes = StoreDouble(ParseReal(items.Cell(kColKBytes, r)));
    g.SetCell(5, r, FormatFloat("%9.0n", kbytes));
    const double F = StoreDouble(ParseReal(items.Cell(kColFrameRate, r)));
    std::string rateText;
    const Extended G = TwoDecimalRate(F, rateText);
    g.SetCell(6, r, std::move(rateText));
    g.SetCell(4, r, ItemRunTime(f, F, G));
    g.SetCell(7, r, items.Cell(kColHalfWidth, r) == "1" ? "Half" : "Full");
    g.SetCell(8, r, items.Cell(kColPass, r));
}

// Makes every read and every computation of WriteItemRow, in its order, without
// writing: it throws exactly where writing the row would.
void CheckItemRow(const TextGrid& items, int r, std::optional<double>& lastRate, Extended& lastG)
{
    ParseReal(items.RawCell(kColBitrate, r));
    ParseReal(items.RawCell(kColReduction, r));
    const std::int32_t last = ParseInteger(items.RawCell(kColLastEncode, r));
    const std::int32_t first = ParseInteger(items.RawCell(kColFirstEncode, r));
    const std::int32_t f = SubInt32(last, first);
    StoreDouble(ParseReal(items.RawCell(kColKBytes, r)));
    const double F = StoreDouble(ParseReal(items.RawCell(kColFrameRate, r)));
    if (F != lastRate) {
        std::string text;
        lastG = TwoDecimalRate(F, text);
        lastRate = F;
    }
    SplitFrames(f, F, lastG);
}

void MaterializeItems(ProjectState& s)
{
    ViewCache& c = s.viewCache;
    if (!c.itemsPending)
        return;
    c.itemsPending = false;
    RecordedSeparators seps(c.itemsSeparators);
    const RecordedItems items(s);
    for (int r = 1; r < c.itemsRowCount; ++r)
        WriteItemRow(s, items, r);
    c.itemsBefore.clear();
}

void InstallHooks(ProjectState& s)
{
    ViewCache& c = s.viewCache;
    if (c.hooksInstalled)
        return;
    c.hooksInstalled = true;
    s.StringGrid2.SetReadHook([&s] { MaterializeSummary(s); });
    s.StringGrid3.SetReadHook([&s] { MaterializeDetails(s); });
    s.StringGrid5.SetReadHook([&s] { MaterializeDetails(s); });
    s.StringGrid4.SetReadHook([&s] { MaterializeItems(s); });
    s.StringGrid1.BeforeCellChange = [&s](int col, int row, const std::string& before) {
        ViewCache& vc = s.viewCache;
        if (vc.itemsPending && row >= 1 && row < vc.itemsRowCount)
            vc.itemsBefore.emplace_back(CellKey(col, row), before);
    };
}

void RefreshItems(ProjectState& s)
{
    ViewCache& c = s.viewCache;
    const bool fresh = c.itemsValid && c.itemsVersion == s.StringGrid1.Version() &&
                       c.separatorsGeneration == SeparatorsGeneration();
    if (fresh)
        return;
    c.itemsValid = false;
    const int N = s.StringGrid1.RowCount();
    bool ok = true;
    try {
        std::optional<double> lastRate;
        Extended lastG = 0;
        for (int r = 1; r < N; ++r)
            CheckItemRow(s.StringGrid1, r, lastRate, lastG);
    } catch (const AppError&) {
        ok = false;
    }
    if (!ok) {
        // Write row by row, up to the cell that fails, as the user must see it.
        s.StringGrid4.Flush();
        s.StringGrid4.SetRowCount(N);
        for (int r = 1; r < N; ++r)
            WriteItemRow(s, CurrentItems{s.StringGrid1}, r);
    }
    // Every row will be written from the table as it stands now.
    c.itemsPending = true;
    c.itemsBefore.clear();
    c.itemsRowCount = N;
    c.itemsSeparators = NumberSeparators();
    s.StringGrid4.SetRowCount(N);
    s.StringGrid4.MarkPending();
    c.itemsValid = true;
    c.itemsVersion = s.StringGrid1.Version();
    c.separatorsGeneration = SeparatorsGeneration();
}

}  // namespace

std::string ItemRunTime(std::int32_t f, double F, Extended G)
{
    const HMSF t = SplitFrames(f, F, G);
    return "     " + PadTwoDigits(t.hours) + ":" + PadTwoDigits(t.minutes) + ":" + PadTwoDigits(t.seconds) + " " +
           PadTwoDigits(t.frames);
}

std::string VTSLength(std::int32_t f, double F)
{
    const HMSF t = SplitFrames(f, F, F);
    return PadTwoDigits(t.hours) + "h:" + PadTwoDigits(t.minutes) + "m:" + PadTwoDigits(t.seconds) + "s " +
           PadTwoDigits(t.frames) + "f";
}

void UpdateVTSDataToStringGrid(ProjectState& s)
{
    InstallHooks(s);
    ViewCache& c = s.viewCache;
    const int V = s.StringGrid2.RowCount();
    const Separators now = NumberSeparators();

    // 1. VTS summary grid: cannot fail, so only the records are kept.
    if (c.summaryPending && !(c.summarySeparators == now))
        s.StringGrid2.Flush();
    for (int k = 1; k < V; ++k) {
        const TVTSData& v = s.VTSData[static_cast<size_t>(k)];
        if (!v.Name.empty())
            c.summaryRows[static_cast<size_t>(k)] = v;
    }
    c.summaryPending = true;
    c.summarySeparators = now;
    s.StringGrid2.MarkPending();

    // 2. Item details grid.
    RefreshItems(s);

    // 3. Total size label.
    s.Label25.SetCaption(FormatFloat("%9.0n", ParseReal(s.Label2.Caption())));

    // 4 and 5. VTS details grid and main VTS grid, from the summary grid's rows.
    bool later = true;
    for (int k = 1; k < V && later; ++k) {
        const TVTSData& v = s.VTSData[static_cast<size_t>(k)];
        if (!v.Name.empty())
            later = CannotFailLater(c, k, v);
        else
            later = !c.summaryRows[static_cast<size_t>(k)] && s.StringGrid2.RawCell(0, k).empty();
    }
    s.StringGrid5.SetRowCount(V);
    s.StringGrid3.SetRowCount(V);
    if (later) {
        if (c.detailsPending && !(c.detailSeparators == now))
            s.StringGrid5.Flush();
        for (int k = 1; k < V; ++k) {
            const TVTSData& v = s.VTSData[static_cast<size_t>(k)];
            if (!v.Name.empty())
                c.detailRows[static_cast<size_t>(k)] = v;
        }
        c.detailsPending = true;
        c.detailSeparators = now;
        s.StringGrid5.MarkPending();
        s.StringGrid3.MarkPending();
        return;
    }
    // Rare: a figure near the limits or a left-over row. Write now, so an
    // error ends the refresh at the very cell where it arises.
    s.StringGrid5.Flush();
    const TextGrid& sum = s.StringGrid2;
    for (int k = 1; k < V; ++k)
        if (!sum.Cell(0, k).empty())
            WriteDetailsRow(s, k, sum.Row(k).data());
    for (int k = 1; k < V; ++k)
        if (!sum.Cell(0, k).empty()) {
            const TVTSData& v = s.VTSData[static_cast<size_t>(k)];
            WriteMainRow(s, k, sum.Row(k).data(), v.Frames, v.FrameRate);
        }
}

void WriteHeaders(ProjectState& s)
{
    static const char* const items[] = {"Title",       "Bitrate",    "vbr_Pass", "half_width", "Reduction",
                                        "FirstEncode", "LastEncode", "KBytes",   "FrameRate"};
    for (int c = 0; c < 9; ++c)
        s.StringGrid1.SetCell(c, 0, items[c]);
    static const char* const summary[] = {"VTS",
                                          "Frames",
                                          "KBytes",
                                          "Bitrate (Avg)",
                                          "NewSize",
                                          "PercentChange",
                                          "NewBitRate (Avg)",
                                          "NewOverallPercent",
                                          "OriginalAveragePercent",
                                          "TempPercentChange",
                                          "FrameRate"};
    for (int c = 0; c < 11; ++c)
        s.StringGrid2.SetCell(c, 0, summary[c]);
    static const char* const main[] = {"VTS", "PreviousBitRate (Avg)", "NewBitRate (Avg)", "NewOverallPercent",
                                       "VTSLength"};
    for (int c = 0; c < 5; ++c)
        s.StringGrid3.SetCell(c, 0, main[c]);
    static const char* const details[] = {"Title",     "Bitrate",   "Reduction", "   Frames", "RunTime (h:m:s f)",
                                          "   KBytes", "FrameRate", "Width",     "Passes"};
    for (int c = 0; c < 9; ++c)
        s.StringGrid4.SetCell(c, 0, details[c]);
    static const char* const vts[] = {"VTS",       "   Frames",        "    KBytes",       "Bitrate (Avg)",
                                      "  NewSize", "NewBitRate (Avg)", "NewOverallPercent"};
    for (int c = 0; c < 7; ++c)
        s.StringGrid5.SetCell(c, 0, vts[c]);
}

}  // namespace rq
