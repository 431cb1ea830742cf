#include "views/grid_views.h"

#include <array>
#include <cmath>
#include <optional>
#include <unordered_map>
#include <utility>

#include "model/arith.h"
#include "model/errors.h"
#include "views/view_cache.h"

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

// ---- Where the cells of a view row go -----------------------------------------
//
// Each view row is written by one function over a sink of cells. WriteCells
// formats every cell into its grid; CheckCells formats nothing. Over either,
// the row makes the same reads and computations in the same order. Where a
// sink computes something besides the text (a run time, a length, the rate as
// its text reads back, a cut to a whole number), the check makes the same
// computation, or the part of it that can fail.
//
// An item row is checked over the very cells it will be written from, so its
// check fails with the very error, at the very cell, where writing would. The
// details and main rows are checked over a record's figures instead of their
// texts, which are not made yet (see SummaryFigures); that check may fail
// where writing would not, never the other way round. Whenever a check fails,
// the refresh writes at once, so the user sees exactly where writing fails.

// The frame rate as its two-decimal cell text reads back.
Extended TwoDecimalRate(double F, const Separators& seps, std::string& text)
{
    text = FormatFloat("%10.2f", F, seps);
    return ParseReal(text, seps);
}

// Trunc64 fails only outside the 64-bit range. Inside it a check needs no
// result, and the truncation itself (a library call) is skipped. The check's
// figures are doubles (see SummaryFigures), so it compares in double: the
// 80-bit unit is kept out of a loop that runs at every size move.
void CheckTrunc64(double v)
{
    if (!(std::fabs(v) < 0x1p63))
        Trunc64(v);  // fails, or takes the one value at the limit that fits
}

class WriteCells {
public:
    WriteCells(TextGrid& grid, int row, const Separators& seps) : grid_(grid), row_(row), seps_(seps) {}
    const Separators& Seps() const { return seps_; }

    void Text(int col, std::string_view text) { grid_.SetCell(col, row_, text); }
    void Fixed(int col, const char* format, Extended v) { grid_.SetCell(col, row_, FormatFloat(format, v, seps_)); }
    // A figure cut toward zero to a whole number.
    void Whole(int col, Extended v) { grid_.SetCell(col, row_, FormatInteger(Trunc64(v))); }
    // A figure cut toward zero to one decimal.
    void Tenths(int col, Extended v)
    {
        grid_.SetCell(col, row_, FormatGeneral(Div(static_cast<Extended>(Trunc64(Mul(v, 10))), 10), seps_));
    }
    // An item's run time; G is its frame rate as the rate cell reads back.
    void RunTime(int col, std::int32_t f, double F, Extended G) { grid_.SetCell(col, row_, ItemRunTime(f, F, G)); }
    // A title set's length.
    void Length(int col, std::int32_t f, double F) { grid_.SetCell(col, row_, VTSLength(f, F)); }
    // Writes the frame rate with two decimals; returns the rate as that text reads back.
    Extended Rate(int col, double F)
    {
        std::string text;
        const Extended G = TwoDecimalRate(F, seps_, text);
        grid_.SetCell(col, row_, std::move(text));
        return G;
    }

private:
    TextGrid& grid_;
    int row_;
    const Separators& seps_;
};

class CheckCells {
public:
    using KnownLength = std::optional<std::pair<std::int32_t, double>>;

    // knownLength: where the frames and rate last found to have a length are kept.
    explicit CheckCells(const Separators& seps, KnownLength* knownLength = nullptr)
        : seps_(seps), knownLength_(knownLength)
    {
    }
    const Separators& Seps() const { return seps_; }

    void Text(int, std::string_view) {}
    void Fixed(int, const char*, Extended) {}
    void Whole(int, double v) { CheckTrunc64(v); }
    // The margin of the figures covers the rounding of this product; the cut
    // value is a whole number, and dividing it by 10 cannot fail.
    void Tenths(int, double v) { CheckTrunc64(v * 10); }
    // With both rates between 10 and 1000 frames per second no step of the
    // run time can fail for any 32-bit frame count: the hours stay below
    // 60,000, the minutes below 8 million, the seconds below 10^9, and the
    // frames left over below the rate. Only other rates are computed.
    void RunTime(int, std::int32_t f, double F, Extended G)
    {
        if (F >= 10 && F <= 1000 && G >= 10 && G <= 1000)
            return;
        SplitFrames(f, F, G);
    }
    void Length(int, std::int32_t f, double F)
    {
        const std::pair<std::int32_t, double> length(f, F);
        if (knownLength_ != nullptr && *knownLength_ == length)
            return;
        SplitFrames(f, F, F);
        if (knownLength_ != nullptr)
            *knownLength_ = length;
    }
    // The few rates of a project repeat from row to row: the last one is remembered.
    Extended Rate(int, double F)
    {
        if (F != lastRate_) {
            std::string text;
            lastG_ = TwoDecimalRate(F, seps_, text);
            lastRate_ = F;
        }
        return lastG_;
    }

private:
    const Separators& seps_;
    KnownLength* knownLength_;
    std::optional<double> lastRate_;
    Extended lastG_ = 0;
};

// ---- The summary grid -------------------------------------------------------

// A record's figure in a summary grid column (1 to 9).
double SummaryFigure(const TVTSData& v, int col)
{
    switch (col) {
    case 1: return v.Frames;
    case 2: return v.KBytes;
    case 3: return v.BitrateAvg;
    case 4: return v.NewSize;
    case 5: return v.PercentChange;
    case 6: return v.NewBitRateAvg;
    case 7: return v.NewOverallPercent;
    case 8: return v.OriginalAveragePercent;
    default: return v.TempPercentChange;
    }
}

using SummaryTexts = std::array<std::string, 10>;

// The frames as an integer, the other figures in the general number format.
SummaryTexts SummaryTextsOf(const TVTSData& v, const Separators& seps)
{
    SummaryTexts texts;
    texts[0] = v.Name;
    texts[1] = FormatInteger(v.Frames);
    for (int col = 2; col < 10; ++col)
        texts[static_cast<size_t>(col)] = FormatGeneral(SummaryFigure(v, col), seps);
    return texts;
}

// Whether the views recorded text for a grid that is not written yet.
bool Pending(const ProjectState& s, bool ViewCache::*flag) { return s.views.cache && (*s.views.cache).*flag; }

void MaterializeSummary(ProjectState& s) noexcept
{
    if (!Pending(s, &ViewCache::summaryPending))
        return;
    ViewCache& c = CacheOf(s);
    c.summaryPending = false;
    for (int k = 1; k < kVTSRecords; ++k) {
        std::optional<TVTSData>& rec = c.summaryRows[static_cast<size_t>(k)];
        if (!rec)
            continue;
        SummaryTexts texts = SummaryTextsOf(*rec, c.summarySeparators);
        for (int col = 0; col < 10; ++col)
            s.StringGrid2.SetCell(col, k, std::move(texts[static_cast<size_t>(col)]));
        rec.reset();
    }
}

// ---- The VTS details grid and the main VTS grid -------------------------------

// A summary row as the details and main rows read it: the texts of its cells.
struct SummaryCells {
    const std::string* texts;
    const Separators& seps;
    std::string_view Name() const { return texts[0]; }
    Extended Figure(int col) const { return ParseReal(texts[col], seps); }
};

// The same, read from a row of the summary grid.
struct SummaryGridCells {
    const TextGrid& grid;
    int row;
    const Separators& seps;
    std::string_view Name() const { return grid.Cell(0, row); }
    Extended Figure(int col) const { return ParseReal(grid.Cell(col, row), seps); }
};

// A record's summary row, read without making its text. The general format
// keeps 15 significant digits, so a figure's text reads back within 5E-15 of
// the figure, relatively. Each figure is taken here 1E-14 larger in magnitude
// (the roundings of double are far smaller than the difference), so a limit
// that the texts' values reach, these figures reach too. Every record figure
// is finite (each is stored through StoreDouble); one that is not would have
// no text that reads back, and fails here as well.
struct SummaryFigures {
    const TVTSData& v;
    const Separators& seps;
    const std::string& Name() const { return v.Name; }
    double Figure(int col) const
    {
        const double x = SummaryFigure(v, col);
        if (!std::isfinite(x))
            ThrowInvalidFloat(FormatGeneral(x, seps));  // "NAN" and "INF" do not read back
        return x * (1 + 1e-14);
    }
};

template <typename Cells, typename Summary>
void DetailsRow(Cells& out, const Summary& sum)
{
    out.Text(0, sum.Name());
    out.Fixed(1, "%9.0n", sum.Figure(1));
    out.Fixed(2, "%10.0n", sum.Figure(2));
    out.Fixed(3, "%12.0n", sum.Figure(3));
    out.Fixed(4, "%9.0n", sum.Figure(4));
    out.Fixed(5, "%15.0n", sum.Figure(6));
    out.Fixed(6, "%14.1f", sum.Figure(7));
}

template <typename Cells, typename Summary>
void MainRow(Cells& out, const Summary& sum, std::int32_t frames, double rate)
{
    out.Text(0, sum.Name());
    out.Whole(1, sum.Figure(3));
    out.Whole(2, sum.Figure(6));
    out.Tenths(3, sum.Figure(7));
    out.Length(4, frames, rate);
}

void MaterializeDetails(ProjectState& s) noexcept
{
    if (!Pending(s, &ViewCache::detailsPending))
        return;
    ViewCache& c = CacheOf(s);
    c.detailsPending = false;
    const Separators& seps = c.detailSeparators;
    for (int k = 1; k < kVTSRecords; ++k) {
        std::optional<TVTSData>& rec = c.detailRows[static_cast<size_t>(k)];
        if (!rec)
            continue;
        const SummaryTexts texts = SummaryTextsOf(*rec, seps);
        const SummaryCells sum{texts.data(), seps};
        WriteCells details(s.StringGrid5, k, seps);
        DetailsRow(details, sum);
        WriteCells main(s.StringGrid3, k, seps);
        MainRow(main, sum, rec->Frames, rec->FrameRate);
        rec.reset();
    }
}

// Whether a named record's details and main rows can be written later: they
// are checked now, so that writing them when someone looks cannot fail.
bool RowsCanWait(ViewCache& c, int k, const TVTSData& v, const Separators& seps)
{
    CheckCells check(seps, &c.lengthComputes[static_cast<size_t>(k)]);
    const SummaryFigures figures{v, seps};
    try {
        DetailsRow(check, figures);
        MainRow(check, figures, v.Frames, v.FrameRate);
    } catch (const AppError&) {
        return false;
    }
    return true;
}

// ---- The item details grid ----------------------------------------------------

struct CurrentItems {
    const TextGrid& grid;
    std::string_view Cell(int col, int row) const { return grid.Cell(col, row); }
    Extended Real(int col, int row, const Separators& seps) const { return ParseReal(grid.Cell(col, row), seps); }
    std::int32_t Integer(int col, int row) const { return ParseInteger(grid.Cell(col, row)); }
};

// The table with the figures the aggregation has just read from it: the same
// values its cells parse to, without parsing them again.
struct ReadItems {
    const TextGrid& grid;
    const ItemFiguresRead& read;
    std::string_view Cell(int col, int row) const { return grid.Cell(col, row); }
    Extended Real(int col, int row, const Separators&) const
    {
        const ItemFigures& f = read.rows[static_cast<size_t>(row - 1)];
        switch (col) {
        case kColBitrate: return f.bitrate;
        case kColReduction: return f.reduction;
        case kColKBytes: return f.kbytes;
        default: return f.rate;
        }
    }
    std::int32_t Integer(int col, int row) const
    {
        const ItemFigures& f = read.rows[static_cast<size_t>(row - 1)];
        return col == kColFirstEncode ? f.first : f.last;
    }
};

template <typename Cells, typename Items>
void ItemRow(Cells& out, const Items& items, int r)
{
    static const std::string half = "Half", full = "Full";
    const Separators& seps = out.Seps();
    out.Text(0, items.Cell(kColTitle, r));
    out.Fixed(1, "%7.0n", items.Real(kColBitrate, r, seps));
    out.Fixed(2, "%9.1f %", items.Real(kColReduction, r, seps));
    const std::int32_t last = items.Integer(kColLastEncode, r);
    const std::int32_t first = items.Integer(kColFirstEncode, r);
    const std::int32_t f = SubInt32(last, first);
    out.Fixed(3, "%9.0n", f);
    out.Fixed(5, "%9.0n", StoreDouble(items.Real(kColKBytes, r, seps)));
    const double F = StoreDouble(items.Real(kColFrameRate, r, seps));
    const Extended G = out.Rate(6, F);
    out.RunTime(4, f, F, G);
    out.Text(7, items.Cell(kColHalfWidth, r) == "1" ? half : full);
    out.Text(8, items.Cell(kColPass, r));
}

void MaterializeItems(ProjectState& s) noexcept
{
    if (!Pending(s, &ViewCache::itemsPending))
        return;
    ViewCache& c = CacheOf(s);
    c.itemsPending = false;
    const CurrentItems items{*c.itemsSeen};
    for (int r = 1; r < c.itemsRowCount; ++r) {
        WriteCells out(s.StringGrid4, r, c.itemsSeparators);
        ItemRow(out, items, r);
    }
    // The table seen is no longer needed: the live one need not be copied when it changes.
    c.itemsSeen.reset();
}


void RefreshItems(ProjectState& s, ViewCache& c, const Separators& now, const ItemFiguresRead* read)
{
    const bool fresh = c.itemsValid && c.itemsVersion == s.StringGrid1.Version() && c.itemsSeparators == now;
    if (fresh)
        return;
    c.itemsValid = false;
    const int N = s.StringGrid1.RowCount();
    const CurrentItems items{s.StringGrid1};
    bool ok = true;
    try {
        CheckCells check(now);
        if (read != nullptr && read->Of(s.StringGrid1, now)) {
            const ReadItems known{s.StringGrid1, *read};
            for (int r = 1; r < N; ++r)
                ItemRow(check, known, r);
        } else {
            for (int r = 1; r < N; ++r)
                ItemRow(check, items, r);
        }
    } catch (const AppError&) {
        ok = false;
    }
    if (!ok) {
        // Write row by row, up to the cell that fails, as the user must see it.
        MaterializeItems(s);
        s.StringGrid4.SetRowCount(N);
        for (int r = 1; r < N; ++r) {
            WriteCells out(s.StringGrid4, r, now);
            ItemRow(out, items, r);
        }
    }
    if (c.itemsUnread) {
        c.itemsValid = true;
        c.itemsVersion = s.StringGrid1.Version();
        c.itemsSeparators = now;
        return;
    }
    // Every row will be written from the table as it stands now.
    c.itemsPending = true;
    c.itemsSeen = s.StringGrid1;
    c.itemsRowCount = N;
    c.itemsSeparators = now;
    s.StringGrid4.SetRowCount(N);
    s.StringGrid4.MarkStale();
    c.itemsValid = true;
    c.itemsVersion = s.StringGrid1.Version();
}

}  // namespace

ViewCache& CacheOf(ProjectState& s)
{
    std::shared_ptr<ViewCache>& cache = s.views.cache;
    if (!cache)
        cache = std::make_shared<ViewCache>();
    else if (cache.use_count() > 1)
        cache = std::make_shared<ViewCache>(*cache);  // a copy of the state keeps what it recorded
    return *cache;
}

void WritePendingViews(ProjectState& s) noexcept
{
    MaterializeSummary(s);
    MaterializeItems(s);
    MaterializeDetails(s);
}

void WritePendingView(ProjectState& s, const TextGrid& grid) noexcept
{
    if (&grid == &s.StringGrid2)
        MaterializeSummary(s);
    else if (&grid == &s.StringGrid4)
        MaterializeItems(s);
    else if (&grid == &s.StringGrid3 || &grid == &s.StringGrid5)
        MaterializeDetails(s);
}

void KeepItemViewRecord(ProjectState& s, std::uint64_t seenItemsVersion)
{
    if (s.views.cache && s.views.cache->itemsVersion == seenItemsVersion && seenItemsVersion != s.ItemsVersion())
        CacheOf(s).itemsVersion = s.ItemsVersion();
}

std::size_t ViewRecordBytes(const ProjectState& s) { return s.views.cache ? sizeof(ViewCache) : 0; }

void LeaveItemDetailsUnwritten(ProjectState& s) { CacheOf(s).itemsUnread = true; }

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

namespace {

// Keeps a copy of every named record for a grid whose rows are written when
// first read. Rows still pending under other separators are written first,
// with the separators they were kept under.
void KeepRecords(ProjectState& s, int V, TextGrid& grid, std::array<std::optional<TVTSData>, kVTSRecords>& rows,
                 bool& pending, Separators& separators, const Separators& now)
{
    if (pending && !(separators == now))
        WritePendingView(s, grid);
    for (int k = 1; k < V; ++k) {
        const TVTSData& v = s.VTSData[static_cast<size_t>(k)];
        if (!v.Name.empty())
            rows[static_cast<size_t>(k)] = v;
    }
    pending = true;
    separators = now;
    grid.MarkStale();
}

}  // namespace

void UpdateVTSDataToStringGrid(ProjectState& s, const ItemFiguresRead* read)
{
    ViewCache& c = CacheOf(s);
    const int V = s.StringGrid2.RowCount();
    const Separators now = NumberSeparators();

    // 1. VTS summary grid: cannot fail, so only the records are kept.
    KeepRecords(s, V, s.StringGrid2, c.summaryRows, c.summaryPending, c.summarySeparators, now);

    // 2. Item details grid.
    RefreshItems(s, c, now, read);

    // 3. Total size label.
    s.Label25.SetCaption(FormatFloat("%9.0n", ParseReal(s.Label2.Caption(), now), now));

    // 4 and 5. VTS details grid and main VTS grid, from the summary grid's rows.
    bool later = true;
    for (int k = 1; k < V && later; ++k) {
        const TVTSData& v = s.VTSData[static_cast<size_t>(k)];
        if (!v.Name.empty())
            later = RowsCanWait(c, k, v, now);
        else
            later = !c.summaryRows[static_cast<size_t>(k)] && s.StringGrid2.Cell(0, k).empty();
    }
    s.StringGrid5.SetRowCount(V);
    s.StringGrid3.SetRowCount(V);
    if (later) {
        KeepRecords(s, V, s.StringGrid5, c.detailRows, c.detailsPending, c.detailSeparators, now);
        s.StringGrid3.MarkStale();
        return;
    }
    // Rare: a figure near the limits or a left-over row. Write now, so an
    // error ends the refresh at the very cell where it arises.
    MaterializeDetails(s);
    MaterializeSummary(s);
    const TextGrid& sum = s.StringGrid2;
    for (int k = 1; k < V; ++k)
        if (!sum.Cell(0, k).empty()) {
            WriteCells details(s.StringGrid5, k, now);
            DetailsRow(details, SummaryGridCells{sum, k, now});
        }
    for (int k = 1; k < V; ++k)
        if (!sum.Cell(0, k).empty()) {
            const TVTSData& v = s.VTSData[static_cast<size_t>(k)];
            WriteCells main(s.StringGrid3, k, now);
            MainRow(main, SummaryGridCells{sum, k, now}, v.Frames, v.FrameRate);
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
