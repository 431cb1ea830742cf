#include "project/place.h"

#include <string_view>

#include "project/key_lines.h"
#include "project/paths.h"
#include "project/reader.h"

namespace rq {

namespace {

bool IsItemStart(std::string_view line) { return line.size() == 6 && StartsWithKey(line, "[item]"); }

}  // namespace

ErrorPlace ItemPlace(const ProjectState& s, int row, int column)
{
    ErrorPlace place;
    place.segment = s.StringGrid1.Cell(kColTitle, row);

    if (column == kColReduction) {
        place.file = FindFileIgnoringCase(ChangeFileExt(s.ProjectPath, ".INF"));
        place.key = "reduction";
        std::string section;
        for (int i = 0; i < s.ListBox2.Count(); ++i) {
            const std::string_view line = s.ListBox2[i];
            if (line.find('[') != std::string_view::npos)
                section = SectionName(line);
            if (section == place.segment && StartsWithKey(line, "reduction="))
                place.line = i + 1;  // the last one counts
        }
        if (place.line == 0)
            place.note = "missing";
        return place;
    }

    place.file = FindFileIgnoringCase(ChangeFileExt(s.ProjectPath, ".ECL"));
    const std::string_view key = EclKeyName(column);
    place.key = std::string(key);
    const std::string keyWithSign = place.key + "=";
    int item = 0;
    long long keyLine = 0;
    for (int i = 0; i < s.ListBox1.Count(); ++i) {
        const std::string_view line = s.ListBox1[i];
        if (IsItemStart(line)) {
            if (item == row)
                break;
            if (++item == row)
                place.line = i + 1;
            continue;
        }
        if (item == row && !key.empty() && StartsWithKey(line, keyWithSign))
            keyLine = i + 1;
    }
    if (keyLine > 0)
        place.line = keyLine;
    else if (!key.empty())
        place.note = "missing";
    return place;
}

AppError AtItem(const AppError& error, const ProjectState& s, int row, int column)
{
    return error.Place().Empty() ? error.At(ItemPlace(s, row, column)) : error;
}

}  // namespace rq
