// Long random command sequences over generated title-set tables. Whatever the
// commands do, the total new size stays what it was (within a relative 1e-12 of
// the loaded total), a title set locked by the user never changes a single
// field, the lock list ends every command as the user left it, and each free
// title set's bitrate keeps matching its size.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "engine/commands.h"
#include "engine/lock_list.h"
#include "engine/maximise.h"
#include "engine/redistribution.h"
#include "engine/slider_range.h"
#include "engine_fixture.h"
#include "support/seeded_random.h"

using namespace rq;

namespace {

constexpr double kTotalBound = 1e-12;

class Generator : public rqtest::SeededRandom<> {
public:
    using SeededRandom::SeededRandom;

    // Two decimals, as a reduction or a typed percentage would have.
    double Decimal2(double lo, double hi) { return std::round(Real(lo, hi) * 100) / 100; }

    std::vector<VTSSpec> Table()
    {
        std::set<int> numbers;
        const int count = Int(2, 9);
        while (static_cast<int>(numbers.size()) < count)
            numbers.insert(Int(1, 30));
        std::vector<VTSSpec> sets;
        for (int n : numbers) {
            const std::string name = n < 10 ? "v0" + FormatInteger(n) : "v" + FormatInteger(n);
            sets.push_back({name, std::round(Real(5e4, 4e6)), Decimal2(600, 8000), Decimal2(35, 100), Int(1000, 200000)});
        }
        return sets;
    }

    // Mostly real title sets, now and then a name that has none.
    std::string Name(const std::vector<VTSSpec>& sets)
    {
        const int i = Int(0, static_cast<int>(sets.size()) + 1);
        if (i < static_cast<int>(sets.size()))
            return sets[static_cast<size_t>(i)].name;
        return i == static_cast<int>(sets.size()) ? "" : "v99";
    }
};

// A command of the main page as the user runs it: the title set picked in its
// selector, the value typed into its box; returns what it was.
std::string RunFromBoxes(ProjectState& s, void (*command)(ProjectState&), const std::string& what,
                         ComboBox& selector, const std::string& name, EditBox& box, std::string value)
{
    selector.SetText(name);
    box.SetText(std::move(value));
    command(s);
    return what + " " + name + " " + box.Text();
}

// One random command; returns what it was, for the failure message.
std::string RunOne(EngineProject& p, Generator& g, const std::vector<VTSSpec>& sets)
{
    ProjectState& s = p.s;
    const std::string name = g.Name(sets);
    switch (g.Int(0, 9)) {
    case 0: {
        const double bitrate = g.Decimal2(300, 9000);
        SetVTSBitRate(s, name, bitrate);
        return "SetVTSBitRate " + name + " " + FormatGeneral(bitrate);
    }
    case 1: {
        const double percent = g.Decimal2(10, 100);
        SetVTSPercent(s, name, percent);
        return "SetVTSPercent " + name + " " + FormatGeneral(percent);
    }
    case 2:
        return RunFromBoxes(s, ChangeByPercentage, "Change", s.ComboBox1, name, s.Edit2,
                            FormatGeneral(g.Decimal2(85, 115)));
    case 3:
        return RunFromBoxes(s, SetBitrate, "set bitrate", s.ComboBox3, name, s.Edit5, FormatInteger(g.Int(300, 9500)));
    case 4:
        s.ComboBox4.SetText(name);
        MoveSlider(s, s.TrackBar2, g.Int(50, 1000));
        return "percentage slider " + name + " " + s.Edit1.Text();
    case 5:
        CorrectMinMax(s);
        return "CorrectMinMax";
    case 6:
        return RunFromBoxes(s, MaximiseViaBitrate, "maximise by bitrate", s.ComboBox5, name, s.Edit7,
                            FormatInteger(g.Int(300, 4000)));
    case 7:
        return RunFromBoxes(s, MaximiseViaPercentage, "maximise by percentage", s.ComboBox6, name, s.Edit11,
                            FormatInteger(g.Int(10, 90)));
    case 8:
        s.ComboBox4.SetText(name);
        FollowSlider(s, s.TrackBar2, FitPercentSliderRange(s));
        return "slider range " + name;
    default: {
        const int i = g.Int(0, s.CheckListBox1.Count() - 1);
        s.CheckListBox1.SetChecked(i, !s.CheckListBox1.Checked(i));
        return "toggle lock " + s.CheckListBox1.Text(i);
    }
    }
}

TEST(RandomSequences, TotalKeptAndLockedTitleSetsUntouched)
{
    for (unsigned seed : {1u, 7u, 42u, 2024u, 31337u, 65521u}) {
        Generator g(seed);
        const std::vector<VTSSpec> sets = g.Table();
        EngineProject p(sets);
        const Extended loaded = p.TotalNewSize();
        for (int step = 0; step < 400; ++step) {
            std::vector<std::pair<std::string, decltype(Fields(p.s.VTSData[0]))>> locked;
            for (const VTSSpec& v : sets)
                if (!NotLocked(p.s, v.name))
                    locked.emplace_back(v.name, Fields(p[v.name]));
            const std::vector<bool> marks = p.Locks();

            std::string command;
            const std::string error = ErrorOf([&] { command = RunOne(p, g, sets); });
            SCOPED_TRACE("seed " + FormatInteger(seed) + " step " + FormatInteger(step) + ": " + command);
            ASSERT_EQ(error, "(no error)");

            const Extended total = p.TotalNewSize();
            ASSERT_LE(std::fabs(total - loaded), kTotalBound * loaded);
            for (const auto& [name, fields] : locked)
                ASSERT_EQ(Fields(p[name]), fields) << name;
            if (command.rfind("toggle", 0) != 0) {
                ASSERT_EQ(p.Locks(), marks);
            }
            for (const VTSSpec& v : sets) {
                const TVTSData& d = p[v.name];
                const double scale = std::max(1.0, std::fabs(d.NewSize / d.KBytes)) * d.BitrateAvg;
                ASSERT_NEAR(d.NewBitRateAvg, d.BitrateAvg * d.NewSize / d.KBytes, 1e-9 * scale) << v.name;
            }
        }
    }
}

}  // namespace
