#pragma once
// A loaded project for the allocation engine's tests: title sets at their
// starting state (nothing redistributed), the summary grid sized to the highest
// VTS number, every title set in the lock list (unlocked) and the selectors, and
// one valid item row per title set so that every refresh of the views succeeds.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "engine/commands.h"
#include "engine/maximise.h"
#include "engine/slider_range.h"
#include "model/errors.h"
#include "model/numbers.h"
#include "model/project_state.h"
#include "support/error_of.h"

struct VTSSpec {
    std::string name;  // "v01"; its digits give the record
    double kbytes;
    double bitrateAvg;
    double originalAveragePercent = 50;
    std::int32_t frames = 90000;
    double frameRate = 25;
};

class EngineProject {
public:
    // The selectors name `selected`, or the first title set when it is empty.
    explicit EngineProject(const std::vector<VTSSpec>& sets, const std::string& selected = "")
    {
        using namespace rq;
        int highest = 1;
        s.StringGrid1.SetRowCount(static_cast<int>(sets.size()) + 1);
        std::vector<int> numbers;
        for (size_t i = 0; i < sets.size(); ++i) {
            const VTSSpec& v = sets[i];
            const int n = VTSNumber(v.name);
            numbers.push_back(n);
            highest = std::max(highest, n);
            TVTSData& d = s.VTSData[static_cast<size_t>(n)];
            d.Name = v.name;
            d.Frames = v.frames;
            d.KBytes = v.kbytes;
            d.BitrateAvg = v.bitrateAvg;
            d.NewSize = v.kbytes;
            d.PercentChange = 100;
            d.NewBitRateAvg = v.bitrateAvg;
            d.NewOverallPercent = v.originalAveragePercent;
            d.OriginalAveragePercent = v.originalAveragePercent;
            d.TempPercentChange = 100;
            d.FrameRate = v.frameRate;

            const int r = static_cast<int>(i) + 1;
            const std::string cells[] = {v.name,
                                         FormatGeneral(v.bitrateAvg),
                                         "2",
                                         "0",
                                         FormatGeneral(v.originalAveragePercent),
                                         "0",
                                         FormatInteger(v.frames),
                                         FormatGeneral(v.kbytes),
                                         FormatGeneral(v.frameRate)};
            for (int c = 0; c < 9; ++c)
                s.StringGrid1.SetCell(c, r, cells[c]);
        }
        s.StringGrid2.SetRowCount(highest + 1);

        std::sort(numbers.begin(), numbers.end());
        std::vector<std::string> names;
        rq::Extended total = 0;
        for (int n : numbers) {
            names.push_back(s.VTSData[static_cast<size_t>(n)].Name);
            s.CheckListBox1.Add(names.back());
            total += s.VTSData[static_cast<size_t>(n)].KBytes;
        }
        s.Label2.SetCaption(FormatGeneral(total));
        const std::string pick = selected.empty() && !sets.empty() ? sets.front().name : selected;
        for (rq::ComboBox* c : {&s.ComboBox1, &s.ComboBox3, &s.ComboBox4, &s.ComboBox5, &s.ComboBox6}) {
            c->SetItems(names);
            c->SetText(pick);
        }
    }

    rq::TVTSData& operator[](const std::string& name) { return s.VTSData[static_cast<size_t>(rq::VTSNumber(name))]; }

    // A lock set by the user's check mark (the selectors are not rebuilt here).
    void Lock(const std::string& name, bool locked = true) { s.CheckListBox1.SetChecked(s.CheckListBox1.IndexOf(name), locked); }

    std::vector<bool> Locks() const
    {
        std::vector<bool> marks;
        for (int i = 0; i < s.CheckListBox1.Count(); ++i)
            marks.push_back(s.CheckListBox1.Checked(i));
        return marks;
    }

    rq::Extended TotalNewSize() const
    {
        rq::Extended total = 0;
        for (int k = 1; k < s.StringGrid2.RowCount(); ++k)
            if (!s.VTSData[static_cast<size_t>(k)].Name.empty())
                total += s.VTSData[static_cast<size_t>(k)].NewSize;
        return total;
    }

    rq::ProjectState s;
};

// The commands as the form runs them: each one's arguments read from the
// boxes and selectors of the main page.
inline void CorrectMinMax(rq::ProjectState& s) { rq::CorrectMinMax(s, rq::LimitsOf(s)); }
inline void ChangeByPercentage(rq::ProjectState& s) { rq::ChangeByPercentage(s, s.ComboBox1.Text(), s.Edit2.Text()); }
inline void SetBitrate(rq::ProjectState& s) { rq::SetBitrate(s, s.ComboBox3.Text(), s.Edit5.Text(), rq::LimitsOf(s)); }
inline void SetPercentage(rq::ProjectState& s)
{
    rq::SetPercentage(s, s.ComboBox4.Text(), s.Edit1.Text(), rq::LimitsOf(s));
}
inline void MaximiseViaBitrate(rq::ProjectState& s)
{
    rq::MaximiseViaBitrate(s, s.ComboBox5.Text(), s.Edit7.Text(), s.Edit8.Text());
}
inline void MaximiseViaPercentage(rq::ProjectState& s)
{
    rq::MaximiseViaPercentage(s, s.ComboBox6.Text(), s.Edit11.Text(), s.Edit8.Text());
}
inline void FollowBitrateSlider(rq::ProjectState& s) { rq::FollowBitrateSlider(s, s.ComboBox3.Text(), rq::LimitsOf(s)); }
inline void FollowPercentSlider(rq::ProjectState& s) { rq::FollowPercentSlider(s, s.ComboBox4.Text(), rq::LimitsOf(s)); }
[[nodiscard]] inline bool SetTrackBarPercentMinMax(rq::ProjectState& s, rq::TrackBar& slider, const std::string& name)
{
    return rq::SetTrackBarPercentMinMax(s, slider, name, rq::LimitsOf(s));
}
[[nodiscard]] inline bool FitPercentSliderRange(rq::ProjectState& s)
{
    return SetTrackBarPercentMinMax(s, s.TrackBar2, s.ComboBox4.Text());
}

// What the form does when a slider's thumb moved: the slider's command follows.
inline void FollowSlider(rq::ProjectState& s, const rq::TrackBar& slider, bool moved)
{
    if (!moved)
        return;
    if (&slider == &s.TrackBar1)
        FollowBitrateSlider(s);
    else
        FollowPercentSlider(s);
}

// The user moves a slider.
inline void MoveSlider(rq::ProjectState& s, rq::TrackBar& slider, int position)
{
    FollowSlider(s, slider, slider.SetPosition(position));
}

// The percentage slider fitted to a title set, as a load or the selector's change does.
inline void FitSlider(rq::ProjectState& s, const std::string& name)
{
    FollowSlider(s, s.TrackBar2, SetTrackBarPercentMinMax(s, s.TrackBar2, name));
}

// Every field of a record, for whole-record comparisons.
inline auto Fields(const rq::TVTSData& v)
{
    return std::make_tuple(v.Name, v.Frames, v.KBytes, v.BitrateAvg, v.NewSize, v.PercentChange, v.NewBitRateAvg,
                           v.NewOverallPercent, v.OriginalAveragePercent, v.TempPercentChange, v.FrameRate);
}

// The text of the error a command ends with, or "(no error)".
