// Benchmarks of the commands a user feels: load, maximise, a slider step, a
// change of the percentage selector, apply and save, recording and undoing a
// step, on a small disc and on the largest project a disc can carry.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "engine/maximise.h"
#include "engine/slider_range.h"
#include "project/aggregation.h"
#include "project/apply.h"
#include "project/reader.h"
#include "project/save.h"
#include "project_generator.h"
#include "ui/form1.h"
#include "run/process_setup.h"
#include "ui/history.h"
#include "ui/status.h"
#include "views/disc_picture.h"

namespace fs = std::filesystem;

namespace {

// One generated project per size, written once into a temporary folder.
const fs::path& ProjectFolder(int titleSets, int items)
{
    static std::map<std::pair<int, int>, fs::path> folders;
    auto it = folders.find({titleSets, items});
    if (it != folders.end())
        return it->second;
    const fs::path dir = fs::temp_directory_path() /
                         ("rq-bench-" + std::to_string(titleSets) + "-" + std::to_string(items) + "-" +
                          std::to_string(::getpid()));
    fs::create_directories(dir);
    const auto p = rq::bench::GenerateProject(titleSets, items, 20041005u);
    std::ofstream(dir / "REBUILDER.ECL", std::ios::binary) << p.ecl;
    std::ofstream(dir / "REBUILDER.INF", std::ios::binary) << p.inf;
    return folders.emplace(std::make_pair(titleSets, items), dir).first->second;
}

std::string EclPath(const benchmark::State& st)
{
    return (ProjectFolder(static_cast<int>(st.range(0)), static_cast<int>(st.range(1))) / "REBUILDER.ECL").string();
}

std::unique_ptr<rq::TForm1> Loaded(const std::string& path)
{
    auto form = std::make_unique<rq::TForm1>();
    form->s.ProjectPath = path;
    rq::LoadECL(form->s, path);
    rq::ProcessLoadedECL(form->s);
    return form;
}

void BM_LoadAndAggregate(benchmark::State& st)
{
    const std::string path = EclPath(st);
    for (auto _ : st) {
        st.PauseTiming();
        auto form = std::make_unique<rq::TForm1>();
        st.ResumeTiming();
        rq::LoadECL(form->s, path);
        rq::ProcessLoadedECL(form->s);
        benchmark::DoNotOptimize(form->s.Label2.Caption());
        st.PauseTiming();
        form.reset();
        st.ResumeTiming();
    }
}

void BM_MaximiseViaBitrate(benchmark::State& st)
{
    auto form = Loaded(EclPath(st));
    form->s.ComboBox5.SetText("v01");
    form->s.Edit7.SetText("1850");
    for (auto _ : st)
        form->Button10Click();
}

void BM_MaximiseViaPercent(benchmark::State& st)
{
    auto form = Loaded(EclPath(st));
    form->s.ComboBox6.SetText("v01");
    form->s.Edit11.SetText("40");
    for (auto _ : st)
        form->Button2Click();
}

// The example's percentage slider fitted to v01, as a user finds it.
std::unique_ptr<rq::TForm1> WithPercentSlider(benchmark::State& st)
{
    auto form = Loaded(EclPath(st));
    form->s.ComboBox4.SetText("v01");
    if (form->s.TrackBar2.SetMin(50))
        form->TrackBar2Change();
    if (form->s.TrackBar2.SetMax(1000))
        form->TrackBar2Change();
    return form;
}

void BM_PercentSliderStep(benchmark::State& st)
{
    auto form = WithPercentSlider(st);
    int position = 700;
    for (auto _ : st) {
        position = position == 700 ? 701 : 700;
        form->UserMoveSlider(form->s.TrackBar2, position);
    }
}

// The same step as the window runs it: with what the status bar says of it
// (the figures before, the result read from the main grid after).
void BM_PercentSliderStepWithStatus(benchmark::State& st)
{
    auto form = WithPercentSlider(st);
    int position = 700;
    for (auto _ : st) {
        position = position == 700 ? 701 : 700;
        const rq::StatusBefore before = rq::StatusBeforeOf(form->s);
        form->UserMoveSlider(form->s.TrackBar2, position);
        benchmark::DoNotOptimize(rq::ResultText(before, form->s, rq::Step::SetPercentage));
    }
}

void BM_PercentSelectorChange(benchmark::State& st)
{
    auto form = Loaded(EclPath(st));
    for (auto _ : st)
        form->UserSetSelectorText(form->s.ComboBox4, "v01");
}

void BM_ApplyChanges(benchmark::State& st)
{
    auto form = Loaded(EclPath(st));
    form->s.ComboBox5.SetText("v01");
    form->s.Edit7.SetText("1850");
    for (auto _ : st) {
        st.PauseTiming();
        form->Button10Click();
        st.ResumeTiming();
        form->Button4Click();
    }
}

void BM_Save(benchmark::State& st)
{
    const fs::path dir = fs::temp_directory_path() / ("rq-bench-save-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path src = ProjectFolder(static_cast<int>(st.range(0)), static_cast<int>(st.range(1)));
    fs::copy_file(src / "REBUILDER.ECL", dir / "REBUILDER.ECL", fs::copy_options::overwrite_existing);
    fs::copy_file(src / "REBUILDER.INF", dir / "REBUILDER.INF", fs::copy_options::overwrite_existing);
    auto form = Loaded((dir / "REBUILDER.ECL").string());
    form->Button10Click();
    form->Button4Click();
    for (auto _ : st)
        rq::SaveECL(form->s, (dir / "REBUILDER.ECL").string());
    fs::remove_all(dir);
}

// Loaded through the Load button, so the history starts as a user's does.
std::unique_ptr<rq::TForm1> LoadedByButton(const std::string& path)
{
    auto form = std::make_unique<rq::TForm1>();
    form->s.Edit10.SetText(path);
    form->Button1Click();
    return form;
}

// The Load button, with and without the copy of the loaded state that
// "Revert to loaded" returns to.
void LoadClick(benchmark::State& st, bool history)
{
    const std::string path = EclPath(st);
    for (auto _ : st) {
        st.PauseTiming();
        auto form = std::make_unique<rq::TForm1>();
        form->StepHistory().SetRecording(history);
        form->s.Edit10.SetText(path);
        st.ResumeTiming();
        form->Button1Click();
        st.PauseTiming();
        form.reset();
        st.ResumeTiming();
    }
}
void BM_LoadClick(benchmark::State& st) { LoadClick(st, true); }
void BM_LoadClickWithoutHistory(benchmark::State& st) { LoadClick(st, false); }

// What recording a step costs on top of the command: the state before it
// (sharing the unchanged item table, item view and text buffers), the check
// that something changed, and keeping it within the bound. The change is a
// lock mark, which costs nothing itself.
void BM_RecordStep(benchmark::State& st)
{
    auto form = LoadedByButton(EclPath(st));
    bool checked = false;
    const std::size_t heapBefore = mallinfo2().uordblks;
    for (auto _ : st) {
        form->BeginStepGroup();
        form->s.CheckListBox1.SetChecked(0, checked = !checked);
        form->EndStepGroup();
    }
    // The heap the kept steps hold, as the allocator counts it.
    st.counters["heap_MB"] = static_cast<double>(mallinfo2().uordblks - heapBefore) / (1 << 20);
    st.counters["history_MB"] = static_cast<double>(form->StepHistory().Bytes()) / (1 << 20);
    st.counters["steps"] = static_cast<double>(form->StepHistory().Steps());
}

// The first step after "Apply Changes" copies what the apply rewrote: the
// item view and both text buffers.
void BM_RecordFirstStepAfterApply(benchmark::State& st)
{
    auto form = LoadedByButton(EclPath(st));
    form->s.ComboBox5.SetText("v01");
    for (auto _ : st) {
        st.PauseTiming();
        form->Button10Click();
        form->Button4Click();
        st.ResumeTiming();
        form->BeginStepGroup();
        form->s.CheckListBox1.SetChecked(0, !form->s.CheckListBox1.Checked(0));
        form->EndStepGroup();
    }
    st.counters["history_MB"] = static_cast<double>(form->StepHistory().Bytes()) / (1 << 20);
    st.counters["steps"] = static_cast<double>(form->StepHistory().Steps());
}

// Undoing a slider step: every table but the item table, its view and the text buffers.
void BM_UndoSliderStep(benchmark::State& st)
{
    auto form = LoadedByButton(EclPath(st));
    form->UserMoveSlider(form->s.TrackBar2, form->s.TrackBar2.Position() - 10);
    for (auto _ : st) {
        form->Undo();
        st.PauseTiming();
        form->Redo();
        st.ResumeTiming();
    }
}

// Undoing "Apply Changes": the item table, its view and both text buffers come back too.
void BM_UndoApply(benchmark::State& st)
{
    auto form = LoadedByButton(EclPath(st));
    form->s.ComboBox5.SetText("v01");
    form->Button10Click();
    form->Button4Click();
    for (auto _ : st) {
        form->Undo();
        st.PauseTiming();
        form->Redo();
        st.ResumeTiming();
    }
}

// The picture of where the size goes after each command: its figures from
// the records and its layout with every legend text, as the "Disc" page
// makes them (the window then paints them); the items are not counted again.
void BM_DiscPictureRefresh(benchmark::State& st)
{
    auto form = Loaded(EclPath(st));
    form->s.ComboBox4.SetText("v01");
    rq::DiscPictureMaker maker;
    maker.Make(form->s);
    int position = 700;
    for (auto _ : st) {
        st.PauseTiming();
        position = position == 700 ? 701 : 700;
        form->UserMoveSlider(form->s.TrackBar2, position);
        st.ResumeTiming();
        const rq::DiscPicture& picture = maker.Make(form->s);
        benchmark::DoNotOptimize(rq::LayOutDiscPicture(picture, rq::EstimatedTextWidth, 16));
    }
}

// Counting the frames at half width and at 25 fps again, after a command of
// the encoder dialog changed the items.
void BM_DiscFrameShares(benchmark::State& st)
{
    auto form = Loaded(EclPath(st));
    for (auto _ : st)
        benchmark::DoNotOptimize(rq::FrameSharesOf(form->s));
}

#define RQ_SIZES ->Args({5, 200})->Args({99, 20000})->Unit(benchmark::kMillisecond)

BENCHMARK(BM_LoadAndAggregate) RQ_SIZES;
BENCHMARK(BM_MaximiseViaBitrate) RQ_SIZES;
BENCHMARK(BM_MaximiseViaPercent) RQ_SIZES;
BENCHMARK(BM_PercentSliderStep) RQ_SIZES;
BENCHMARK(BM_PercentSliderStepWithStatus) RQ_SIZES;
BENCHMARK(BM_PercentSelectorChange) RQ_SIZES;
BENCHMARK(BM_ApplyChanges) RQ_SIZES;
BENCHMARK(BM_Save) RQ_SIZES;
BENCHMARK(BM_LoadClick) RQ_SIZES;
BENCHMARK(BM_LoadClickWithoutHistory) RQ_SIZES;
BENCHMARK(BM_RecordStep) RQ_SIZES;
// Its setup (a maximisation and an apply) costs thousands of times what it
// measures: a fixed count of rounds keeps the run short.
BENCHMARK(BM_RecordFirstStepAfterApply) RQ_SIZES->Iterations(40);
BENCHMARK(BM_UndoSliderStep) RQ_SIZES;
BENCHMARK(BM_UndoApply) RQ_SIZES;
BENCHMARK(BM_DiscPictureRefresh) RQ_SIZES;
BENCHMARK(BM_DiscFrameShares) RQ_SIZES;

}  // namespace

int main(int argc, char** argv)
{
    rq::KeepFreedMemoryForReuse();  // as the program itself does
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
