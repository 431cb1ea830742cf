#include "project/reader.h"

#include <algorithm>

#include "model/arith.h"
#include "model/ascii_words.h"
#include "model/errors.h"
#include "model/numbers.h"
#include "platform/system.h"
#include "project/aggregation.h"
#include "project/inf_sections.h"
#include "project/key_lines.h"
#include "project/paths.h"
#include "project/save.h"
#include "project/text_file.h"
#include "views/disc_picture.h"
#include "views/grid_views.h"

namespace rq {

namespace {

// ECL values are cut to this many characters, INF reductions to kReductionMax.
constexpr size_t kValueMax = 1024;
constexpr size_t kReductionMax = 100;

// The encoder's frame-rate index as frames per second: 1 is NTSC film, 4 NTSC
// video; 3 is PAL, and so is every index the encoder does not know. The three
// texts are made once per load.
struct FrameRateTexts {
    std::string film = FormatGeneral(23.97);
    std::string video = FormatGeneral(29.97);
    std::string pal = FormatGeneral(25.0);

    const std::string& Of(std::string_view value) const
    {
        switch (ParseInteger(value)) {
        case 1: return film;
        case 4: return video;
        default: return pal;
        }
    }
};

void ClearVTSTable(ProjectState& s)
{
    for (TVTSData& v : s.VTSData)
        v = TVTSData{};
}

void ReadECLLine(ProjectState& s, std::string_view line, std::int32_t& row, const FrameRateTexts& rates,
                 const ProcessMessagesFn& processMessages);

void ReadECLPass(ProjectState& s, const std::string& eclFile, const ProcessMessagesFn& processMessages)
{
    std::int32_t row = 0;
    const FrameRateTexts rates;
    TextList lines;
    SplitTextLinesInto(ReadFileBytes(eclFile), lines);
    // The lines move into the buffer in one piece; when a line ends the load,
    // the buffer holds the lines up to and including it.
    int done = 0;
    try {
        const TextList::View read = lines.Viewed();
        for (; done < read.Count(); ++done)
            ReadECLLine(s, read[done], row, rates, processMessages);
    } catch (const AppError& e) {
        lines.Truncate(done + 1);
        s.ListBox1.TakeFrom(lines);
        // Only the frame-rate index is read as a number here.
        throw e.At(ErrorPlace{eclFile, done + 1LL, std::string(s.StringGrid1.Cell(kColTitle, row)), "frame_rate_idx", {}});
    } catch (...) {
        lines.Truncate(done + 1);
        s.ListBox1.TakeFrom(lines);
        throw;
    }
    s.ListBox1.TakeFrom(lines);
}

void ReadECLLine(ProjectState& s, std::string_view line, std::int32_t& row, const FrameRateTexts& rates,
                 const ProcessMessagesFn& processMessages)
{
    if (line.size() == 6 && StartsWithKey(line, "[item]")) {
        row = AddInt32(row, 1);
        if (row > s.StringGrid1.RowCount() - 1)
            s.StringGrid1.SetRowCount(s.StringGrid1.RowCount() + 1);
    }
    if (const EclKey* k = KeyOfLine(line)) {
        const std::string_view raw = line.substr(k->key.size(), kValueMax);
        char lowered[kValueMax];
        LowerCopy(lowered, raw.data(), raw.size());
        const std::string_view value(lowered, raw.size());
        if (k->column == kColFrameRate)
            s.StringGrid1.SetCell(k->column, row, rates.Of(value));
        else
            s.StringGrid1.SetCell(k->column, row, value);
    }
    if (row % 10 == 0 && processMessages)
        processMessages();
}

void ReadINFPass(ProjectState& s, const std::string& infFile)
{
    SplitTextLinesInto(ReadFileBytes(infFile), s.ListBox2);
    // Titles do not change during this pass, only the reductions.
    const TitleRows titles(s.StringGrid1);
    ForEachReductionLine(s.ListBox2, titles, [&s](int, std::string_view line, std::span<const int> rows) {
        const std::string value(line.substr(10, kReductionMax));
        for (const int r : rows)
            s.StringGrid1.SetCell(kColReduction, r, value);
    });
}

}  // namespace

void LoadECL(ProjectState& s, const std::string& path, const ProcessMessagesFn& processMessages)
{
    if (FileExists(path)) {
        s.ProjectPath = path;
        const std::string eclFile = FindFileIgnoringCase(ChangeFileExt(path, ".ECL"));
        const std::string infFile = FindFileIgnoringCase(ChangeFileExt(path, ".INF"));
        // Refused before anything changes: a save would write the INF text
        // over the ECL text.
        if (sys::SameFile(eclFile, infFile))
            throw AppError(kSameFileMessage, ErrorPlace{infFile, 0, {}, {}, "the same file as " + eclFile});
        RemoveStaleTemporariesOf(path);
        s.ListBox1.Clear();
        s.ListBox2.Clear();
        WriteHeaders(s);
        ClearVTSTable(s);
        s.loaded = {};
        ReadECLPass(s, eclFile, processMessages);
        ReadINFPass(s, infFile);
        ProcessLoadedECL(s);
        // The disc as read, for "As loaded" in the picture of where the size goes.
        RecordLoadedDisc(s);
    }
    s.Button1.SetEnabled(false);
}

}  // namespace rq
