#pragma once
// The picture of where the size goes: two stacked bars of equal length, the
// disc as loaded and the disc now, one coloured part per title set, and a
// legend with each title set's size, share, bitrate and bits per pixel as
// loaded and now. Toolkit-free: the window paints it, the command line writes
// it as SVG, both from the same figures and the same layout.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/project_state.h"

namespace rq {

// How bits per pixel are judged, for a tooltip or the picture's own notes.
inline constexpr const char* kBitsPerPixelRule =
    "Bits per pixel: the bitrate divided by width x height x frames per second. Width 720, or 352 when "
    "the segments are encoded at half width; height 576 at 25 frames per second, 480 otherwise. A title "
    "set with mixed segments is judged by the width and the frame rate of most of its frames.";

// The frame shares (model/project_state.h) of each title set by VTS number,
// counted over every segment of that number. A segment whose title or frame
// numbers do not read adds nothing.
using FrameSharesTable = std::array<FrameShares, kVTSRecords>;
FrameSharesTable FrameSharesOf(const ProjectState& s);

// Keeps, in the state, each title set as it stands right after a load: what
// "As loaded" shows until the next load, whatever the commands, Apply and the
// encoder dialog change meanwhile.
void RecordLoadedDisc(ProjectState& s);

// The picture size of a title set: 720 or 352 wide, 576 or 480 high.
struct PictureSize {
    int width = 720;
    int height = 480;
    bool operator==(const PictureSize&) const = default;
};
PictureSize PictureSizeOf(const FrameShares& shares);

// Bits per pixel of a bitrate in kbit/s; 0 when there is no picture to fill
// (no frame rate, or a figure that is not finite).
double BitsPerPixel(double kbitPerSecond, PictureSize size, double framesPerSecond);

// One title set's figures, as loaded and now.
struct DiscPart {
    int number = 0;
    std::string name;         // printable ASCII; any other byte shows as "?"
    std::uint32_t colour = 0;  // 0xRRGGBB, by VTS number
    double loadedKBytes = 0, nowKBytes = 0;
    double loadedShare = 0, nowShare = 0;  // percent of the bar's total; 0 when the total is 0
    double loadedBitrate = 0, nowBitrate = 0;
    PictureSize loadedSize, nowSize;
    double framesPerSecond = 0;
    double loadedBitsPerPixel = 0, nowBitsPerPixel = 0;
    bool operator==(const DiscPart&) const = default;
};

struct DiscPicture {
    std::vector<DiscPart> parts;  // the title sets in use, in ascending VTS number
    double loadedTotal = 0, nowTotal = 0;
    bool operator==(const DiscPicture&) const = default;
};

// The picture of the state: "As loaded" from what the last load recorded
// (the records' loaded figures and the items as they stand when no load
// recorded anything), "Now" from the allocation and the items as they stand.
DiscPicture MakeDiscPicture(const ProjectState& s, const FrameSharesTable& now);
DiscPicture MakeDiscPicture(const ProjectState& s);

// Makes pictures for a window that refreshes after every command: the items
// are counted again only when the item table changed.
class DiscPictureMaker {
public:
    const DiscPicture& Make(const ProjectState& s);

private:
    const void* cells_ = nullptr;
    std::uint64_t itemsVersion_ = 0;
    FrameSharesTable shares_{};
    DiscPicture picture_;
};

// A fixed colour per VTS number (0xRRGGBB): hues a golden angle apart with
// alternating lightness and saturation, so neighbours differ at a glance and
// all 99 title sets differ.
std::uint32_t DiscColour(int vtsNumber);
// Black or white, whichever reads better on the colour.
std::uint32_t TextColourOn(std::uint32_t colour);

// The texts of a legend row, in the user's number format.
struct LegendTexts {
    std::string loadedKBytes, nowKBytes, loadedShare, nowShare, loadedBitrate, nowBitrate, loadedBpp, nowBpp;
};
LegendTexts LegendTextsOf(const DiscPart& part);
// What a bar part says of itself when pointed at: "v02 as loaded:
// 2,345,678 KB, 45.1 %, 4,372 kbit/s".
std::string PartTip(const DiscPart& part, bool loaded);

// ---- Layout, in pixels, shared by the window and the SVG -----------------

struct Box {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Box&) const = default;
};

enum class Align { Left, Centre, Right };

struct PlacedText {
    std::string text;
    int x = 0;         // the anchor: left edge, centre or right edge by align
    int baseline = 0;  // of the text
    Align align = Align::Left;
    bool bold = false;
    std::uint32_t colour = 0x000000;
    std::string tip;  // shown when pointed at; empty for none
};

struct PlacedRect {
    Box box;
    std::uint32_t fill = 0;
    bool outline = false;  // a frame drawn around, not filled
    std::string tip;       // shown when pointed at; empty for none
};

struct DiscLayout {
    int width = 0, height = 0;
    std::vector<PlacedRect> rects;
    std::vector<PlacedText> texts;
};

// Measures a text's width in pixels; the line height is given apart.
using TextWidth = std::function<int(std::string_view text, bool bold)>;
// Lays the picture out: the two bars of equal length on the left, the legend
// beside them, one row per title set.
DiscLayout LayOutDiscPicture(const DiscPicture& picture, const TextWidth& width, int lineHeight);
// The text widths an SVG viewer is assumed to give at 12 px sans-serif.
int EstimatedTextWidth(std::string_view text, bool bold);

// The picture as a standalone SVG document (UTF-8).
std::string DiscPictureSvg(const DiscPicture& picture);

}  // namespace rq
