#include "views/disc_picture.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "model/numbers.h"
#include "views/grid_views.h"

namespace rq {

namespace {

// A figure the picture can draw: anything else counts as nothing.
double Drawable(double v) { return std::isfinite(v) ? v : 0.0; }

// Bytes outside printable ASCII would make the SVG ill-formed or the window
// show garbage; a title set's name is three bytes of whatever the title held.
std::string Printable(const std::string& name)
{
    std::string shown = name;
    for (char& c : shown)
        if (c < 0x20 || c > 0x7e)
            c = '?';
    return shown;
}

// A VTS number 1..99 read from characters 2 and 3 of a segment's title, as
// the aggregation reads it; 0 when they do not read as one.
int NumberOfTitle(std::string_view title)
{
    if (title.size() < 2)
        return 0;
    std::int32_t n = 0;
    if (!TryParseInteger(title.substr(1, 2), n) || n < 1 || n >= kVTSRecords)
        return 0;
    return n;
}

bool At25(std::string_view rate)
{
    Extended v = 0;
    return TryParseReal(rate, v) && v == 25;
}

std::string Percent(double share) { return FormatFloat("%.1f", share) + " %"; }
std::string Kilobytes(double kbytes) { return FormatFloat("%.0n", kbytes); }
std::string Bitrate(double kbit) { return FormatFloat("%.0n", kbit); }
std::string BitsPerPixelText(double bpp) { return bpp > 0 ? FormatFloat("%.3f", bpp) : std::string("\xe2\x80\x93"); }

}  // namespace

FrameSharesTable FrameSharesOf(const ProjectState& s)
{
    FrameSharesTable table{};
    const TextGrid& items = s.StringGrid1;
    // The figures the aggregation kept, while they are the table's.
    const ItemFiguresRead* read =
        s.itemFigures.read && s.itemFigures.read->Of(items, NumberSeparators()) ? s.itemFigures.read.get() : nullptr;
    for (int r = 1; r < items.RowCount(); ++r) {
        const int k = NumberOfTitle(items.Cell(kColTitle, r));
        std::int32_t first = 0, last = 0;
        const ItemFigures* known = read ? &read->rows[static_cast<size_t>(r - 1)] : nullptr;
        if (known) {
            first = known->first;
            last = known->last;
        }
        if (k == 0 || (!known && (!TryParseInteger(items.Cell(kColFirstEncode, r), first) || !TryParseInteger(items.Cell(kColLastEncode, r), last))))
            continue;
        const std::int64_t frames = std::int64_t{last} + 1 - first;
        if (frames <= 0)
            continue;
        FrameShares& shares = table[static_cast<std::size_t>(k)];
        shares.frames += frames;
        if (items.Cell(kColHalfWidth, r) == "1")
            shares.halfWidth += frames;
        if (known ? known->rate == 25 : At25(items.Cell(kColFrameRate, r)))
            shares.at25 += frames;
    }
    return table;
}

void RecordLoadedDisc(ProjectState& s)
{
    const FrameSharesTable shares = FrameSharesOf(s);
    auto loaded = std::make_shared<std::array<LoadedVTS, kVTSRecords>>();
    for (std::size_t k = 0; k < loaded->size(); ++k)
        (*loaded)[k] = LoadedVTS{s.VTSData[k].KBytes, s.VTSData[k].BitrateAvg, shares[k]};
    s.loaded.vts = std::move(loaded);
}

PictureSize PictureSizeOf(const FrameShares& shares)
{
    // Most of the frames decide; a tie counts as full width and 480 lines.
    return PictureSize{2 * shares.halfWidth > shares.frames ? 352 : 720, 2 * shares.at25 > shares.frames ? 576 : 480};
}

double BitsPerPixel(double kbitPerSecond, PictureSize size, double framesPerSecond)
{
    if (!(framesPerSecond > 0) || !std::isfinite(framesPerSecond) || !std::isfinite(kbitPerSecond) ||
        size.width <= 0 || size.height <= 0)
        return 0;
    const double bpp = kbitPerSecond * 1000.0 / (static_cast<double>(size.width) * size.height * framesPerSecond);
    return std::isfinite(bpp) ? bpp : 0;
}

DiscPicture MakeDiscPicture(const ProjectState& s, const FrameSharesTable& now)
{
    DiscPicture picture;
    const auto* loaded = s.loaded.vts.get();
    const int end = std::min(s.VTSRangeEnd(), kVTSRecords - 1);
    for (int k = 1; k <= end; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const TVTSData& v = s.VTSData[i];
        if (v.Name.empty())
            continue;
        DiscPart p;
        p.number = k;
        p.name = Printable(v.Name);
        p.colour = DiscColour(k);
        // Before any load (a state built by hand) the records' own starting
        // figures are the ones loaded.
        const FrameShares& loadedShares = loaded ? (*loaded)[i].shares : now[i];
        p.loadedKBytes = Drawable(loaded ? (*loaded)[i].KBytes : v.KBytes);
        p.loadedBitrate = Drawable(loaded ? (*loaded)[i].BitrateAvg : v.BitrateAvg);
        p.nowKBytes = Drawable(v.NewSize);
        p.nowBitrate = Drawable(v.NewBitRateAvg);
        p.loadedSize = PictureSizeOf(loadedShares);
        p.nowSize = PictureSizeOf(now[i]);
        p.framesPerSecond = Drawable(v.FrameRate);
        p.loadedBitsPerPixel = BitsPerPixel(p.loadedBitrate, p.loadedSize, p.framesPerSecond);
        p.nowBitsPerPixel = BitsPerPixel(p.nowBitrate, p.nowSize, p.framesPerSecond);
        picture.loadedTotal += std::max(p.loadedKBytes, 0.0);
        picture.nowTotal += std::max(p.nowKBytes, 0.0);
        picture.parts.push_back(std::move(p));
    }
    picture.loadedTotal = Drawable(picture.loadedTotal);
    picture.nowTotal = Drawable(picture.nowTotal);
    for (DiscPart& p : picture.parts) {
        p.loadedShare = picture.loadedTotal > 0 ? std::max(p.loadedKBytes, 0.0) / picture.loadedTotal * 100 : 0;
        p.nowShare = picture.nowTotal > 0 ? std::max(p.nowKBytes, 0.0) / picture.nowTotal * 100 : 0;
    }
    return picture;
}

DiscPicture MakeDiscPicture(const ProjectState& s) { return MakeDiscPicture(s, FrameSharesOf(s)); }

const DiscPicture& DiscPictureMaker::Make(const ProjectState& s)
{
    if (s.StringGrid1.CellsId() != cells_ || s.ItemsVersion() != itemsVersion_) {
        shares_ = FrameSharesOf(s);
        cells_ = s.StringGrid1.CellsId();
        itemsVersion_ = s.ItemsVersion();
    }
    picture_ = MakeDiscPicture(s, shares_);
    return picture_;
}

std::uint32_t DiscColour(int vtsNumber)
{
    const int n = std::clamp(vtsNumber, 0, kVTSRecords - 1);
    // The golden angle in thousandths of a degree: whole numbers, so every
    // build and system gives the same colours.
    const double hue = static_cast<double>((n * 137508) % 360000) / 60000.0;  // 0..6
    static constexpr double kLightness[3] = {0.68, 0.42, 0.55};
    static constexpr double kSaturation[2] = {0.60, 0.90};
    const double l = kLightness[n % 3];
    const double sat = kSaturation[n % 2];
    const double chroma = (1 - std::fabs(2 * l - 1)) * sat;
    const double x = chroma * (1 - std::fabs(std::fmod(hue, 2.0) - 1));
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(hue)) {
    case 0: r = chroma, g = x; break;
    case 1: r = x, g = chroma; break;
    case 2: g = chroma, b = x; break;
    case 3: g = x, b = chroma; break;
    case 4: r = x, b = chroma; break;
    default: r = chroma, b = x; break;
    }
    const double m = l - chroma / 2;
    auto byte = [m](double c) { return static_cast<std::uint32_t>(std::lround(std::clamp(c + m, 0.0, 1.0) * 255)); };
    return byte(r) << 16 | byte(g) << 8 | byte(b);
}

std::uint32_t TextColourOn(std::uint32_t colour)
{
    const std::uint32_t r = colour >> 16 & 0xff, g = colour >> 8 & 0xff, b = colour & 0xff;
    return 299 * r + 587 * g + 114 * b > 150000 ? 0x000000 : 0xffffff;
}

LegendTexts LegendTextsOf(const DiscPart& p)
{
    return {Kilobytes(p.loadedKBytes), Kilobytes(p.nowKBytes),   Percent(p.loadedShare),
            Percent(p.nowShare),       Bitrate(p.loadedBitrate), Bitrate(p.nowBitrate),
            BitsPerPixelText(p.loadedBitsPerPixel), BitsPerPixelText(p.nowBitsPerPixel)};
}

namespace {

std::string TipOf(const DiscPart& p, const LegendTexts& t, bool loaded)
{
    const PictureSize size = loaded ? p.loadedSize : p.nowSize;
    return p.name + (loaded ? " as loaded: " + t.loadedKBytes + " KB, " + t.loadedShare + ", " + t.loadedBitrate
                            : " now: " + t.nowKBytes + " KB, " + t.nowShare + ", " + t.nowBitrate) +
           " kbit/s, " + (loaded ? t.loadedBpp : t.nowBpp) + " bits per pixel at " + FormatInteger(size.width) + "x" +
           FormatInteger(size.height);
}

}  // namespace

std::string PartTip(const DiscPart& p, bool loaded) { return TipOf(p, LegendTextsOf(p), loaded); }

// ---- Layout ---------------------------------------------------------------

namespace {

constexpr int kMargin = 12;
constexpr int kBarWidth = 72;
constexpr int kBarGap = 14;
constexpr int kMinBarLength = 300;
constexpr std::uint32_t kFrameColour = 0x808080;
constexpr std::uint32_t kStripeColour = 0xf0f0f0;
constexpr std::uint32_t kDimText = 0x505050;

struct Column {
    const char* header;
    int width = 0;
    int right = 0;
};

}  // namespace

DiscLayout LayOutDiscPicture(const DiscPicture& picture, const TextWidth& width, int lineHeight)
{
    DiscLayout out;
    const int lh = std::max(lineHeight, 8);
    const int row = lh + 4;
    const int n = static_cast<int>(picture.parts.size());
    // A baseline sits about a quarter of a line above the line's foot.
    auto baseline = [lh](int top) { return top + lh - lh / 4; };

    out.texts.push_back({"Where the size goes", kMargin, baseline(kMargin), Align::Left, true, 0x000000, {}});
    const int top = kMargin + lh + 10;

    // The legend: swatch, name, then as loaded and now for each figure.
    std::vector<LegendTexts> texts;
    texts.reserve(picture.parts.size());
    int nameWidth = width("VTS", true);
    for (const DiscPart& p : picture.parts) {
        texts.push_back(LegendTextsOf(p));
        nameWidth = std::max(nameWidth, width(p.name, false));
    }
    static const char* const kGroups[4] = {"Size (KB)", "Share", "Bitrate (kbit/s)", "Bits per pixel"};
    Column cols[8];
    for (int c = 0; c < 8; ++c) {
        cols[c].header = c % 2 == 0 ? "loaded" : "now";
        cols[c].width = width(cols[c].header, false);
    }
    for (const LegendTexts& t : texts) {
        const std::string* values[8] = {&t.loadedKBytes, &t.nowKBytes,     &t.loadedShare, &t.nowShare,
                                        &t.loadedBitrate, &t.nowBitrate, &t.loadedBpp,   &t.nowBpp};
        for (int c = 0; c < 8; ++c)
            cols[c].width = std::max(cols[c].width, width(*values[c], false));
    }
    const int legendLeft = kMargin + 2 * kBarWidth + kBarGap + 16;
    const int nameLeft = legendLeft + lh + 4;
    int x = nameLeft + nameWidth;
    for (int g = 0; g < 4; ++g) {
        Column& a = cols[2 * g];
        Column& b = cols[2 * g + 1];
        // A group's title never reaches past its two columns.
        const int spare = width(kGroups[g], true) - (a.width + 8 + b.width);
        if (spare > 0)
            b.width += spare;
        x += g == 0 ? 12 : 16;
        a.right = x + a.width;
        b.right = a.right + 8 + b.width;
        x = b.right;
        const int centre = (a.right - a.width + b.right) / 2;
        PlacedText title{kGroups[g], centre, baseline(top), Align::Centre, true, 0x000000, {}};
        if (g == 3)
            title.tip = kBitsPerPixelRule;
        out.texts.push_back(std::move(title));
        out.texts.push_back({a.header, a.right, baseline(top + lh), Align::Right, false, kDimText, {}});
        out.texts.push_back({b.header, b.right, baseline(top + lh), Align::Right, false, kDimText, {}});
    }
    out.texts.push_back({"VTS", nameLeft, baseline(top + lh), Align::Left, true, 0x000000, {}});
    const int legendRight = x;
    const int rowsTop = top + 2 * lh + 4;
    for (int i = 0; i < n; ++i) {
        const DiscPart& p = picture.parts[static_cast<std::size_t>(i)];
        const LegendTexts& t = texts[static_cast<std::size_t>(i)];
        const int y = rowsTop + i * row;
        if (i % 2 == 1)
            out.rects.push_back({Box{legendLeft - 4, y, legendRight - legendLeft + 8, row}, kStripeColour, false, {}});
        out.rects.push_back({Box{legendLeft, y + (row - lh) / 2 + 1, lh - 2, lh - 2}, p.colour, false, {}});
        out.texts.push_back({p.name, nameLeft, baseline(y + 2), Align::Left, false, 0x000000, {}});
        const std::string* values[8] = {&t.loadedKBytes, &t.nowKBytes,     &t.loadedShare, &t.nowShare,
                                        &t.loadedBitrate, &t.nowBitrate, &t.loadedBpp,   &t.nowBpp};
        for (int c = 0; c < 8; ++c)
            out.texts.push_back({*values[c], cols[c].right, baseline(y + 2), Align::Right, false, 0x000000, {}});
    }
    const int legendBottom = rowsTop + n * row;

    // The two bars, of equal length, beside the legend's rows.
    const int barTop = top + lh + 4;
    const int length = std::max(kMinBarLength, legendBottom - barTop);
    struct Bar {
        const char* caption;
        bool loaded;
        double total;
    };
    const Bar bars[2] = {{"As loaded", true, picture.loadedTotal}, {"Now", false, picture.nowTotal}};
    for (int b = 0; b < 2; ++b) {
        const int left = kMargin + b * (kBarWidth + kBarGap);
        const int centre = left + kBarWidth / 2;
        out.texts.push_back({bars[b].caption, centre, baseline(top), Align::Centre, true, 0x000000, {}});
        if (bars[b].total > 0) {
            double before = 0;
            for (std::size_t i = 0; i < picture.parts.size(); ++i) {
                const DiscPart& p = picture.parts[i];
                const double size = std::max(bars[b].loaded ? p.loadedKBytes : p.nowKBytes, 0.0);
                const int y0 = barTop + static_cast<int>(std::lround(before / bars[b].total * length));
                before += size;
                // The last part ends exactly at the bar's foot.
                const int y1 = barTop + static_cast<int>(std::lround(std::min(before / bars[b].total, 1.0) * length));
                if (y1 <= y0)
                    continue;
                out.rects.push_back({Box{left, y0, kBarWidth, y1 - y0}, p.colour, false, TipOf(p, texts[i], bars[b].loaded)});
                if (y1 - y0 < lh)
                    continue;
                const std::string label = p.name + " " + (bars[b].loaded ? texts[i].loadedShare : texts[i].nowShare);
                const std::string shown = width(label, false) <= kBarWidth - 6 ? label
                                          : width(p.name, false) <= kBarWidth - 6 ? p.name
                                                                                 : std::string();
                if (!shown.empty())
                    out.texts.push_back({shown, centre, baseline((y0 + y1 - lh) / 2), Align::Centre, false,
                                         TextColourOn(p.colour), {}});
            }
        }
        out.rects.push_back({Box{left, barTop, kBarWidth, length}, kFrameColour, true, {}});
        out.texts.push_back(
            {Kilobytes(bars[b].total) + " KB", centre, baseline(barTop + length + 4), Align::Centre, false, kDimText, {}});
    }
    out.width = std::max(legendRight, legendLeft) + kMargin;
    out.height = std::max(barTop + length + 4 + lh, legendBottom) + kMargin;
    return out;
}

int EstimatedTextWidth(std::string_view text, bool bold)
{
    // Tenths of a pixel at 12 px, near the widths of the common sans-serif faces.
    int tenths = 0;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x80 && u < 0xc0)
            continue;  // the rest of a character already counted
        if (c == ' ' || c == '.' || c == ',' || c == ':' || c == 'i' || c == 'l' || c == 'I' || c == '\'' || c == '(' ||
            c == ')' || c == '/' || c == 't' || c == 'f' || c == 'j' || c == 'r')
            tenths += 40;
        else if (c == '%' || c == 'm' || c == 'w' || c == 'M' || c == 'W')
            tenths += 105;
        else if (c >= 'A' && c <= 'Z')
            tenths += 82;
        else
            tenths += 70;
    }
    if (bold)
        tenths += tenths / 10;
    return (tenths + 9) / 10;
}

// ---- SVG ------------------------------------------------------------------

namespace {

void Escaped(std::string& out, std::string_view text)
{
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
}

std::string Hex(std::uint32_t colour)
{
    static const char* const kDigits = "0123456789abcdef";
    std::string text = "#";
    for (int shift = 20; shift >= 0; shift -= 4)
        text += kDigits[colour >> shift & 0xf];
    return text;
}

void Attribute(std::string& out, const char* name, int value)
{
    out += ' ';
    out += name;
    out += "=\"";
    out += FormatInteger(value);
    out += '"';
}

}  // namespace

std::string DiscPictureSvg(const DiscPicture& picture)
{
    constexpr int kLineHeight = 16;
    const DiscLayout layout = LayOutDiscPicture(picture, EstimatedTextWidth, kLineHeight);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"";
    Attribute(out, "width", layout.width);
    Attribute(out, "height", layout.height);
    out += " viewBox=\"0 0 " + FormatInteger(layout.width) + " " + FormatInteger(layout.height) + "\"";
    out += " font-family=\"DejaVu Sans, Verdana, Arial, sans-serif\" font-size=\"12\">\n";
    out += "<title>Where the size goes</title>\n<desc>";
    Escaped(out, kBitsPerPixelRule);
    out += "</desc>\n<rect x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    for (const PlacedRect& r : layout.rects) {
        out += "<rect";
        Attribute(out, "x", r.box.x);
        Attribute(out, "y", r.box.y);
        Attribute(out, "width", r.box.w);
        Attribute(out, "height", r.box.h);
        out += r.outline ? " fill=\"none\" stroke=\"" + Hex(r.fill) + "\"" : " fill=\"" + Hex(r.fill) + "\"";
        if (r.tip.empty()) {
            out += "/>\n";
        } else {
            out += "><title>";
            Escaped(out, r.tip);
            out += "</title></rect>\n";
        }
    }
    for (const PlacedText& t : layout.texts) {
        out += "<text";
        Attribute(out, "x", t.x);
        Attribute(out, "y", t.baseline);
        if (t.align != Align::Left)
            out += t.align == Align::Centre ? " text-anchor=\"middle\"" : " text-anchor=\"end\"";
        if (t.bold)
            out += " font-weight=\"bold\"";
        if (t.colour != 0)
            out += " fill=\"" + Hex(t.colour) + "\"";
        out += '>';
        if (!t.tip.empty()) {
            out += "<title>";
            Escaped(out, t.tip);
            out += "</title>";
        }
        Escaped(out, t.text);
        out += "</text>\n";
    }
    out += "</svg>\n";
    return out;
}

}  // namespace rq
