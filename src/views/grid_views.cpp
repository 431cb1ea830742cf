#include "views/grid_views.h"

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
    const Extended rest = Sub(Sub(Sub(fe, Mul(t.seconds, F)), Mul(Mul(60.0L, t.minutes), F)), Mul(Mul(3600.0L, t.hours), F));
    t.frames = NarrowInt32(Trunc64(rest));
    return t;
}

void WriteSummaryRow(ProjectState& s, int k)
{
    const TVTSData& v = s.VTSData[static_cast<size_t>(k)];
    TextGrid& g = s.StringGrid2;
    g.SetCell(0, k, v.Name);
    g.SetCell(1, k, FormatInteger(v.Frames));
    g.SetCell(2, k, FormatGeneral(v.KBytes));
    g.SetCell(3, k, FormatGeneral(v.BitrateAvg));
    g.SetCell(4, k, FormatGeneral(v.NewSize));
    g.SetCell(5, k, FormatGeneral(v.PercentChange));
    g.SetCell(6, k, FormatGeneral(v.NewBitRateAvg));
    g.SetCell(7, k, FormatGeneral(v.NewOverallPercent));
    g.SetCell(8, k, FormatGeneral(v.OriginalAveragePercent));
    g.SetCell(9, k, FormatGeneral(v.TempPercentChange));
}

void WriteItemRow(ProjectState& s, int r)
{
    const TextGrid& items = s.StringGrid1;
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
    g.SetCell(6, r, FormatFloat("%10.2f", F));
    const Extended G = ParseReal(g.Cell(6, r));
    g.SetCell(4, r, ItemRunTime(f, F, G));
    g.SetCell(7, r, items.Cell(kColHalfWidth, r) == "1" ? "Half" : "Full");
    g.SetCell(8, r, items.Cell(kColPass, r));
}

void WriteDetailsRow(ProjectState& s, int k)
{
    const TextGrid& sum = s.StringGrid2;
    TextGrid& g = s.StringGrid5;
    g.SetCell(0, k, sum.Cell(0, k));
    g.SetCell(1, k, FormatFloat("%9.0n", ParseReal(sum.Cell(1, k))));
    g.SetCell(2, k, FormatFloat("%10.0n", ParseReal(sum.Cell(2, k))));
    g.SetCell(3, k, FormatFloat("%12.0n", ParseReal(sum.Cell(3, k))));
    g.SetCell(4, k, FormatFloat("%9.0n", ParseReal(sum.Cell(4, k))));
    g.SetCell(5, k, FormatFloat("%15.0n", ParseReal(sum.Cell(6, k))));
    g.SetCell(6, k, FormatFloat("%14.1f", ParseReal(sum.Cell(7, k))));
}

void WriteMainRow(ProjectState& s, int k)
{
    const TextGrid& sum = s.StringGrid2;
    TextGrid& g = s.StringGrid3;
    g.SetCell(0, k, sum.Cell(0, k));
    g.SetCell(1, k, FormatInteger(Trunc64(ParseReal(sum.Cell(3, k)))));
    g.SetCell(2, k, FormatInteger(Trunc64(ParseReal(sum.Cell(6, k)))));
    const Extended p = ParseReal(sum.Cell(7, k));
    g.SetCell(3, k, FormatGeneral(Div(static_cast<Extended>(Trunc64(Mul(p, 10))), 10)));
    const TVTSData& v = s.VTSData[static_cast<size_t>(k)];
    g.SetCell(4, k, VTSLength(v.Frames, v.FrameRate));
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
    const int V = s.StringGrid2.RowCount();
    // 1. VTS summary grid.
    for (int k = 1; k < V; ++k)
        if (!s.VTSData[static_cast<size_t>(k)].Name.empty())
            WriteSummaryRow(s, k);

    // 2. Item details grid. Its cells depend only on the item table (and the
    // separators), so an unchanged table that was shown completely is not
    // formatted again.
    ViewCache& cache = s.viewCache;
    const bool fresh = cache.itemsValid && cache.itemsVersion == s.StringGrid1.Version() &&
                       cache.separatorsGeneration == SeparatorsGeneration();
    if (!fresh) {
        cache.itemsValid = false;
        const int N = s.StringGrid1.RowCount();
        s.StringGrid4.SetRowCount(N);
        for (int r = 1; r < N; ++r)
            WriteItemRow(s, r);
        cache.itemsValid = true;
        cache.itemsVersion = s.StringGrid1.Version();
        cache.separatorsGeneration = SeparatorsGeneration();
    }

    // 3. Total size label.
    s.Label25.SetCaption(FormatFloat("%9.0n", ParseReal(s.Label2.Caption())));

    // 4. VTS details grid.
    s.StringGrid5.SetRowCount(V);
    for (int k = 1; k < V; ++k)
        if (!s.StringGrid2.Cell(0, k).empty())
            WriteDetailsRow(s, k);

    // 5. Main VTS grid.
    s.StringGrid3.SetRowCount(V);
    for (int k = 1; k < V; ++k)
        if (!s.StringGrid2.Cell(0, k).empty())
            WriteMainRow(s, k);
}

void WriteHeaders(ProjectState& s)
{
    static const char* const items[] = {"Title",      "Bitrate",    "vbr_Pass", "half_width", "Reduction",
                                        "FirstEncode", "LastEncode", "KBytes",   "FrameRate"};
    for (int c = 0; c < 9; ++c)
        s.StringGrid1.SetCell(c, 0, items[c]);
    static const char* const summary[] = {"VTS",           "Frames",           "KBytes",
                                          "Bitrate (Avg)", "NewSize",          "PercentChange",
                                          "NewBitRate (Avg)", "NewOverallPercent", "OriginalAveragePercent",
                                          "TempPercentChange", "FrameRate"};
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
    static const char* const vts[] = {"VTS",     "   Frames",        "    KBytes",       "Bitrate (Avg)",
                                      "  NewSize", "NewBitRate (Avg)", "NewOverallPercent"};
    for (int c = 0; c < 7; ++c)
        s.StringGrid5.SetCell(c, 0, vts[c]);
}

}  // namespace rq
