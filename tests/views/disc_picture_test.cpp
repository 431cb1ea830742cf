#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "engine/maximise.h"
#include "project/apply.h"
#include "project/reader.h"
#include "support/project_files.h"
#include "views/disc_picture.h"

using namespace rq;

namespace {

struct Segment {
    const char* title;
    const char* bitrate;
    int last;
    const char* rateIdx;  // 3 = 25, 4 = 29.97
    const char* half;
};

// v01 full width at 25 fps, v02 half width at 29.97, v03 mostly half width
// and 25 fps, v04 split evenly both ways.
const Segment kSegments[] = {
    {"V01PGC1_0", "4500", 999, "3", "0"}, {"V02PGC1_0", "5000", 2396, "4", "1"},
    {"V03PGC1_0", "3000", 2999, "3", "1"}, {"V03PGC1_1", "3000", 999, "4", "0"},
    {"V04PGC1_0", "2000", 999, "3", "1"}, {"V04PGC1_1", "2000", 999, "4", "0"},
};

std::string WriteProject(const rqtest::TempFolder& dir)
{
    std::string ecl = rqtest::Crlf({"[ECL]"}), inf;
    for (const Segment& s : kSegments) {
        std::string item = rqtest::EclItem(s.title, s.bitrate, 0, s.last, s.rateIdx);
        item.replace(item.find("half_width=0"), 12, std::string("half_width=") + s.half);
        ecl += item;
        inf += rqtest::InfSection(s.title, "60");
    }
    rqtest::WriteBytes(dir / "REBUILDER.ECL", ecl);
    rqtest::WriteBytes(dir / "REBUILDER.INF", inf);
    return dir / "REBUILDER.ECL";
}

const DiscPart& PartOf(const DiscPicture& p, const std::string& name)
{
    for (const DiscPart& part : p.parts)
        if (part.name == name)
            return part;
    static const DiscPart none;
    ADD_FAILURE() << name;
    return none;
}

// Tags open and close in order, attributes are quoted, and no bare "<" or
// "&" stands in text.
bool WellFormed(const std::string& xml)
{
    std::vector<std::string> open;
    for (std::size_t i = 0; i < xml.size(); ++i) {
        if (xml[i] == '&') {
            const std::size_t end = xml.find(';', i);
            const std::string entity = xml.substr(i, end == std::string::npos ? 0 : end - i + 1);
            if (entity != "&amp;" && entity != "&lt;" && entity != "&gt;" && entity != "&quot;")
                return false;
        }
        if (xml[i] != '<')
            continue;
        const std::size_t end = xml.find('>', i);
        if (end == std::string::npos)
            return false;
        const std::string tag = xml.substr(i + 1, end - i - 1);
        i = end;
        if (tag.empty() || tag.find('<') != std::string::npos ||
            std::count(tag.begin(), tag.end(), '"') % 2 != 0)
            return false;
        if (tag[0] == '?')
            continue;
        const std::string name = tag.substr(tag[0] == '/', tag.find_first_of(" /", 1) - (tag[0] == '/'));
        if (tag[0] == '/') {
            if (open.empty() || open.back() != name)
                return false;
            open.pop_back();
        } else if (tag.back() != '/') {
            open.push_back(name);
        }
    }
    return open.empty();
}

}  // namespace

TEST(DiscPicture, FiguresAsLoadedAndNowAcrossCommandsApplyAndWidthChanges)
{
    rqtest::TempFolder dir;
    ProjectState s;
    LoadECL(s, WriteProject(dir));
    const DiscPicture loaded = MakeDiscPicture(s);
    ASSERT_EQ(loaded.parts.size(), 4u);

    // Picture size by the width and the frame rate of most frames; a tie is
    // full width and 480 lines.
    const struct {
        const char* name;
        int width, height;
        double fps;
        double bitsPerPixel;  // 0: from the record's bitrate
    } rows[] = {
        {"v01", 720, 576, 25, 4.5e6 / (720 * 576 * 25)},
        {"v02", 352, 480, 29.97, 5e6 / (352 * 480 * 29.97)},
        {"v03", 352, 576, 25, 0},
        {"v04", 720, 480, 25, 0},
    };
    double shares = 0;
    for (const auto& row : rows) {
        const DiscPart& p = PartOf(loaded, row.name);
        const TVTSData& v = s.VTSData[static_cast<std::size_t>(p.number)];
        EXPECT_EQ(p.loadedSize, (PictureSize{row.width, row.height})) << row.name;
        EXPECT_EQ(p.nowSize, p.loadedSize) << row.name;
        EXPECT_EQ(p.framesPerSecond, row.fps) << row.name;
        const double bpp = row.bitsPerPixel > 0 ? row.bitsPerPixel
                                                : v.BitrateAvg * 1000 / (row.width * row.height * row.fps);
        EXPECT_NEAR(p.loadedBitsPerPixel, bpp, 1e-12) << row.name;
        EXPECT_EQ(p.loadedKBytes, v.KBytes) << row.name;
        EXPECT_EQ(p.nowKBytes, v.KBytes) << row.name;
        EXPECT_EQ(p.loadedBitrate, v.BitrateAvg) << row.name;
        EXPECT_DOUBLE_EQ(p.loadedShare, v.KBytes / loaded.loadedTotal * 100) << row.name;
        shares += p.loadedShare;
    }
    EXPECT_NEAR(shares, 100, 1e-9);
    EXPECT_EQ(loaded.nowTotal, loaded.loadedTotal);

    // A command moves size: "Now" follows, "As loaded" stays.
    MaximiseViaBitrate(s, "v01", "1850", "500");
    const DiscPicture moved = MakeDiscPicture(s);
    const DiscPart& film = PartOf(moved, "v01");
    EXPECT_EQ(film.loadedKBytes, PartOf(loaded, "v01").loadedKBytes);
    EXPECT_EQ(film.nowKBytes, s.VTSData[1].NewSize);
    EXPECT_EQ(film.nowBitrate, s.VTSData[1].NewBitRateAvg);
    EXPECT_GT(film.nowShare, film.loadedShare);
    EXPECT_NEAR(film.nowBitsPerPixel, s.VTSData[1].NewBitRateAvg * 1000 / (720 * 576 * 25.0), 1e-12);
    EXPECT_EQ(PartOf(moved, "v02").nowBitrate, s.VTSData[2].NewBitRateAvg);
    EXPECT_LT(PartOf(moved, "v02").nowShare, PartOf(moved, "v02").loadedShare);

    // Apply makes the allocation the records' starting point; the picture
    // still compares with the disc as read. A changed width counts now only.
    ApplyChanges(s);
    s.StringGrid1.SetCell(kColHalfWidth, 1, "1");
    const DiscPicture applied = MakeDiscPicture(s);
    EXPECT_EQ(PartOf(applied, "v01").loadedKBytes, PartOf(loaded, "v01").loadedKBytes);
    EXPECT_EQ(PartOf(applied, "v01").nowKBytes, s.VTSData[1].KBytes);
    EXPECT_EQ(PartOf(applied, "v01").loadedSize, (PictureSize{720, 576}));
    EXPECT_EQ(PartOf(applied, "v01").nowSize, (PictureSize{352, 576}));

    // The next load starts again from the disc as read.
    LoadECL(s, dir / "REBUILDER.ECL");
    EXPECT_EQ(MakeDiscPicture(s), loaded);
}

TEST(DiscPicture, NothingToShareOrNoFrameRateDividesByNothing)
{
    ProjectState s;
    s.StringGrid2.SetRowCount(4);
    s.VTSData[1].Name = "v01";
    s.VTSData[3].Name = std::string("<\x01&>");
    const DiscPicture p = MakeDiscPicture(s);
    ASSERT_EQ(p.parts.size(), 2u);
    EXPECT_EQ(p.loadedTotal, 0);
    EXPECT_EQ(p.parts[1].name, "<?&>");
    for (const DiscPart& part : p.parts) {
        EXPECT_EQ(part.loadedShare, 0);
        EXPECT_EQ(part.nowShare, 0);
        EXPECT_EQ(part.loadedBitsPerPixel, 0);
        EXPECT_EQ(part.nowSize, (PictureSize{720, 480}));  // no frames: a tie
    }
    EXPECT_EQ(BitsPerPixel(3000, {720, 576}, 0), 0);
    EXPECT_EQ(BitsPerPixel(INFINITY, {720, 576}, 25), 0);
    EXPECT_EQ(LegendTextsOf(p.parts[0]).loadedBpp, "\xe2\x80\x93");

    // Empty bars: their frames only, no part; the picture is still a document.
    const DiscLayout layout = LayOutDiscPicture(p, EstimatedTextWidth, 16);
    for (const PlacedRect& r : layout.rects)
        EXPECT_TRUE(r.outline || r.tip.empty());
    const std::string svg = DiscPictureSvg(p);
    EXPECT_TRUE(WellFormed(svg)) << svg;
    EXPECT_NE(svg.find(">&lt;?&amp;&gt;</text>"), std::string::npos) << svg;
}

TEST(DiscPicture, BarsOfEqualLengthInOneColourPerTitleSetAndAStableSvg)
{
    rqtest::TempFolder dir;
    ProjectState s;
    LoadECL(s, WriteProject(dir));
    MaximiseViaBitrate(s, "v01", "1850", "500");
    const DiscPicture picture = MakeDiscPicture(s);
    const DiscLayout layout = LayOutDiscPicture(picture, EstimatedTextWidth, 16);

    std::vector<Box> frames;
    std::vector<std::vector<PlacedRect>> bars(2);
    for (const PlacedRect& r : layout.rects) {
        if (r.outline)
            frames.push_back(r.box);
        else if (!r.tip.empty())
            bars[r.tip.find(" as loaded:") != std::string::npos ? 0 : 1].push_back(r);
    }
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].h, frames[1].h);
    EXPECT_EQ(frames[0].y, frames[1].y);
    for (int b = 0; b < 2; ++b) {
        ASSERT_EQ(bars[b].size(), picture.parts.size());
        // The parts fill their bar from top to foot, in VTS order, each in its colour.
        int y = frames[b].y;
        for (std::size_t i = 0; i < bars[b].size(); ++i) {
            EXPECT_EQ(bars[b][i].box.y, y);
            EXPECT_EQ(bars[b][i].fill, DiscColour(picture.parts[i].number));
            y += bars[b][i].box.h;
        }
        EXPECT_EQ(y, frames[b].y + frames[b].h);
    }
    // Each bar tells its own time: the maximised film is taller now than as loaded.
    EXPECT_LT(bars[0][0].box.h, bars[1][0].box.h);
    // The film's part holds its name and share; a legend row per title set.
    const LegendTexts film = LegendTextsOf(picture.parts[0]);
    std::set<std::string> texts;
    for (const PlacedText& t : layout.texts) {
        texts.insert(t.text);
        if (t.text == "As loaded" || t.text == "Now") {
            EXPECT_TRUE(t.bold) << t.text;  // the bars' captions head them
        }
    }
    for (const std::string& text : {std::string("As loaded"), std::string("Now"), "v01 " + film.nowShare, film.loadedKBytes, film.nowKBytes,
                                    film.loadedBitrate, film.nowBitrate, film.loadedBpp, film.nowBpp})
        EXPECT_EQ(texts.count(text), 1u) << text;

    // A character of several bytes counts once; a byte that starts none (a
    // Latin-1 letter, say) counts as a character of its own.
    EXPECT_EQ(EstimatedTextWidth("\xc3\xa9", false), EstimatedTextWidth("e", false));
    EXPECT_EQ(EstimatedTextWidth("\xc0", false), EstimatedTextWidth("e", false));

    // 99 colours, each its own and far enough from every other to tell apart.
    std::set<std::uint32_t> colours;
    int closest = 1 << 30;
    for (int a = 1; a <= 99; ++a) {
        colours.insert(DiscColour(a));
        for (int b = a + 1; b <= 99; ++b) {
            int d = 0;
            for (int shift : {16, 8, 0}) {
                const int diff = static_cast<int>(DiscColour(a) >> shift & 0xff) - static_cast<int>(DiscColour(b) >> shift & 0xff);
                d += diff * diff;
            }
            closest = std::min(closest, d);
        }
    }
    EXPECT_EQ(colours.size(), 99u);
    EXPECT_GE(closest, 22 * 22);
    // The colours stay what users have seen before.
    EXPECT_EQ(DiscColour(1), 0x0bcb43u);
    EXPECT_EQ(DiscColour(2), 0x9847d1u);
    EXPECT_EQ(DiscColour(3), 0xf7e564u);
    // Black on light colours; white from mid grey down.
    EXPECT_EQ(TextColourOn(0xffffff), 0x000000u);
    EXPECT_EQ(TextColourOn(0x979797), 0x000000u);
    EXPECT_EQ(TextColourOn(0x969696), 0xffffffu);
    EXPECT_EQ(TextColourOn(0x202060), 0xffffffu);

    const std::string svg = DiscPictureSvg(picture);
    EXPECT_TRUE(WellFormed(svg));
    EXPECT_EQ(svg, DiscPictureSvg(picture));
    EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"", 0), 0u);
    // Where everything lies is fixed by the figures alone.
    for (const std::string& piece :
         {std::string("<desc>") + kBitsPerPixelRule + "</desc>", "<title>" + PartTip(picture.parts[0], true) + "</title>",
          std::string(" width=\"657\" height=\"390\" viewBox=\"0 0 657 390\""),
          std::string("<text x=\"12\" y=\"24\" font-weight=\"bold\">Where the size goes</text>"),
          std::string(" fill=\"#0bcb43\"><title>v01 as loaded: "),
          std::string("<rect x=\"186\" y=\"77\" width=\"14\" height=\"14\" fill=\"#0bcb43\"/>"),
          std::string("<text x=\"284\" y=\"66\" text-anchor=\"end\" fill=\"#505050\">loaded</text>"),
          std::string("<text x=\"206\" y=\"66\" font-weight=\"bold\">VTS</text>"),
          std::string("<text x=\"645\" y=\"88\" text-anchor=\"end\">") + film.nowBpp + "</text>",
          std::string("</svg>\n")})
        EXPECT_NE(svg.find(piece), std::string::npos) << piece;
}
