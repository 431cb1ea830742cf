#pragma once
// The loaded project: the item table, the title-set records, the summary grid,
// the two text buffers, the lock list, the selectors, the argument boxes, the
// limits, the total size and the views. One plain value, reached by every
// layer: it holds data only, copies cheaply (the item table and the texts are
// shared until changed) and compares by what it holds.
#include <array>
#include <cstdint>
#include <memory>
#include <tuple>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>
#include <string>

#include "model/controls.h"
#include "model/numbers.h"

namespace rq {

// One video title set (VTS), indexed by its number 0..99.
struct TVTSData {
    std::string Name;  // "v01"; empty = record not used
    std::int32_t Frames = 0;
    double KBytes = 0;
    double BitrateAvg = 0;
    double NewSize = 0;
    double PercentChange = 0;
    double NewBitRateAvg = 0;
    double NewOverallPercent = 0;
    double OriginalAveragePercent = 0;
    double TempPercentChange = 0;
    double FrameRate = 0;

    // Equal to the bit: a figure that changed in its last digit, or from 0
    // to -0, is a change.
    bool operator==(const TVTSData& other) const;
};

constexpr int kVTSRecords = 100;

// Columns of the item table.
enum ItemColumn : int {
    kColTitle = 0,
    kColBitrate = 1,
    kColPass = 2,
    kColHalfWidth = 3,
    kColReduction = 4,
    kColFirstEncode = 5,
    kColLastEncode = 6,
    kColKBytes = 7,
    kColFrameRate = 8,
};

// What the views recorded at their last refresh and have not written yet. Its
// type and every use of it belong to the views (views/view_cache.h); the state
// only carries it, shared between copies until the views change it, so that a
// copy of the state shows just what the original showed.
struct ViewCache;
class ViewRecord {
public:
    std::shared_ptr<ViewCache> cache;
    // Two states are equal by what they hold; when the views write their
    // pending text makes no difference to it.
    bool operator==(const ViewRecord&) const { return true; }
};

// The item figures the last aggregation read from the item table
// (views/grid_views.h): the commands that read the unchanged table again take
// them instead of parsing its cells. Only a cache: states equal without it.
struct ItemFiguresRead;
class ItemFiguresRecord {
public:
    // Shared between copies of the state; copied before a change when shared.
    std::shared_ptr<ItemFiguresRead> read;
    bool operator==(const ItemFiguresRecord&) const { return true; }
};

// The frames of a title set's segments in all, at half width and at 25 frames
// per second: what its picture size is judged by.
struct FrameShares {
    std::int64_t frames = 0;
    std::int64_t halfWidth = 0;
    std::int64_t at25 = 0;
    bool operator==(const FrameShares&) const = default;
};

// A title set as the project was read from disk.
struct LoadedVTS {
    double KBytes = 0;
    double BitrateAvg = 0;
    FrameShares shares;
    bool operator==(const LoadedVTS&) const = default;
};

// Every title set as the last load left it, by VTS number; none before a load.
// Shared between copies of the state: only a load replaces it.
class LoadedDisc {
public:
    std::shared_ptr<const std::array<LoadedVTS, kVTSRecords>> vts;
    bool operator==(const LoadedDisc& o) const { return vts == o.vts || (vts && o.vts && *vts == *o.vts); }
};

struct Form2Selectors {
    // The encoder parameter dialog's two VTS selectors: passes and width.
    ComboBox ComboBox1;
    ComboBox ComboBox2;
    bool operator==(const Form2Selectors&) const = default;
};

struct ProjectState {

    // Item table: 10 columns, header row and one empty data row at start.
    TextGrid StringGrid1{10, 2};
    // Title-set records, indexed by VTS number.
    std::array<TVTSData, kVTSRecords> VTSData{};
    // VTS summary grid: 11 columns (9 shown), row n = record n.
    TextGrid StringGrid2{11, 2};
    // ECL and INF text buffers.
    TextList ListBox1;
    TextList ListBox2;
    // Lock list.
    CheckList CheckListBox1;
    // The five selectors of the main page.
    ComboBox ComboBox1;  // "Change"
    ComboBox ComboBox3;  // set bitrate
    ComboBox ComboBox4;  // set percentage
    ComboBox ComboBox5;  // maximise via bitrate
    ComboBox ComboBox6;  // maximise via percentage
    Form2Selectors Form2;
    // Argument boxes.
    EditBox Edit1{"75"};    // percentage of the set-percentage command
    EditBox Edit2{"101"};   // percentage of "Change"
    EditBox Edit5{"3000"};  // bitrate of the set-bitrate command
    EditBox Edit7{"1850"};  // others' bitrate when maximising
    EditBox Edit8{"500"};   // "Min Bitrate"
    EditBox Edit9{"9000"};  // "Max Bitrate"
    EditBox Edit10;         // file-name box
    EditBox Edit11{"40"};   // others' percentage when maximising
    TrackBar TrackBar1{500, 9000, 3000, 50, 250};
    TrackBar TrackBar2{50, 1000, 750, 1, 100};
    // Total size (general number format) and its formatted display.
    Label Label2{"0"};
    Label Label25{"?"};
    // Command buttons.
    Button Button1{"Load .ECL && .INF", true};
    Button Button2{"Set", false};
    Button Button3{"Change", false};
    Button Button4{"Apply Changes", false};
    Button Button5{"Set", false};
    Button Button7{"Save Modified .ECL && .INF", false};
    Button Button9{"Set", false};
    Button Button10{"Set", false};
    Button Button11{"Modify CCE Encoding Parameters", false};
    // Views.
    TextGrid StringGrid3{5, 2};  // main VTS grid
    TextGrid StringGrid4{9, 2};  // item details grid
    TextGrid StringGrid5{7, 2};  // VTS details grid
    // Made by the views' first refresh.
    ViewRecord views;
    // Made by every aggregation.
    ItemFiguresRecord itemFigures;
    // What "As loaded" shows in the picture of the disc (views/disc_picture.h).
    LoadedDisc loaded;

    // The path the project was loaded from; also where it is saved.
    std::string ProjectPath;

    // ---- What the state is made of, for the undo history -----------------

    // What a user's step is recognised by: the allocation (the records and
    // the total), the locks, the sliders, the items and the texts. Selectors,
    // argument boxes, buttons and views are left out: a name typed, a button
    // a save disabled or a view written when looked at is no step.
    auto StepParts() const
    {
        return std::tie(VTSData, Label2, TrackBar1, TrackBar2, CheckListBox1, StringGrid1, ListBox1, ListBox2);
    }
    // Changes with every write to the item table (and when it is put back).
    std::uint64_t ItemsVersion() const { return StringGrid1.Version(); }
    // The parts a copy shares with its original until either changes: each
    // one's identity and bytes, so shared parts are counted once.
    struct SharedPart {
        const void* id;
        std::size_t bytes;
    };
    std::array<SharedPart, 7> SharedParts() const;
    // Bytes a copy holds of its own.
    std::size_t OwnBytes() const;

    // Highest record of the VTS range: summary grid row count - 1.
    int VTSRangeEnd() const { return StringGrid2.RowCount() - 1; }

    // What the state holds, control by control; grids whose views are still
    // to be written compare as they stand (see WritePendingViews).
    bool operator==(const ProjectState&) const = default;
};

// Lower-cases the letters A to Z only.
std::string LowerAscii(std::string text);
// First 3 characters of the lower-cased title (all of it when shorter).
std::string VTSName(std::string_view title);
// Characters 2 and 3 of a VTS name read as an integer; a negative number is
// rejected with the integer conversion error of those characters.
int VTSNumber(const std::string& name);

}  // namespace rq
