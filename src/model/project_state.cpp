#include "model/project_state.h"

#include <bit>

#include "model/ascii_words.h"
#include "model/errors.h"
#include "model/numbers.h"

namespace rq {

namespace {

bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

}  // namespace

bool TVTSData::operator==(const TVTSData& o) const
{
    return Name == o.Name && Frames == o.Frames && SameBits(KBytes, o.KBytes) && SameBits(BitrateAvg, o.BitrateAvg) &&
           SameBits(NewSize, o.NewSize) && SameBits(PercentChange, o.PercentChange) &&
           SameBits(NewBitRateAvg, o.NewBitRateAvg) && SameBits(NewOverallPercent, o.NewOverallPercent) &&
           SameBits(OriginalAveragePercent, o.OriginalAveragePercent) &&
           SameBits(TempPercentChange, o.TempPercentChange) && SameBits(FrameRate, o.FrameRate);
}

std::array<ProjectState::SharedPart, 7> ProjectState::SharedParts() const
{
    auto grid = [](const TextGrid& g) { return SharedPart{g.CellsId(), g.CellBytes()}; };
    auto list = [](const TextList& l) { return SharedPart{l.TextId(), l.TextBytes()}; };
    return {grid(StringGrid1), grid(StringGrid2), grid(StringGrid3), grid(StringGrid4), grid(StringGrid5),
            list(ListBox1),    list(ListBox2)};
}

std::size_t ProjectState::OwnBytes() const
{
    std::size_t bytes = sizeof(ProjectState) + CheckListBox1.Count() * (sizeof(CheckList::Entry) + 32);
    for (const ComboBox* c : {&ComboBox1, &ComboBox3, &ComboBox4, &ComboBox5, &ComboBox6, &Form2.ComboBox1, &Form2.ComboBox2})
        bytes += c->Items().size() * sizeof(std::string);
    return bytes;
}

std::string LowerAscii(std::string text)
{
    LowerInPlace(text.data(), text.size());
    return text;
}

std::string VTSName(std::string_view title) { return LowerAscii(std::string(title.substr(0, 3))); }

int VTSNumber(const std::string& name)
{
    const std::string digits = name.size() > 1 ? name.substr(1, 2) : std::string();
    const std::int32_t n = ParseInteger(digits);
    if (n < 0 || n >= kVTSRecords)
        ThrowInvalidInteger(digits);
    return n;
}

}  // namespace rq
