// Arbitrary bytes as a project: the first two bytes say how many of the rest
// are REBUILDER.ECL, the others are REBUILDER.INF. Loads them, runs the
// commands a user would, applies and rewrites, and reads every view.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "model/errors.h"
#include "project/apply.h"
#include "project/reader.h"
#include "ui/form1.h"

namespace {

const std::filesystem::path& WorkFolder()
{
    static const std::filesystem::path dir = [] {
        std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        auto d = base / ("rq-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

void Put(const std::filesystem::path& p, const uint8_t* data, size_t size)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

template <typename F>
void Try(F&& f)
{
    try {
        f();
    } catch (const rq::AppError&) {
    }
}

void ReadAll(const rq::TextGrid& g)
{
    size_t n = 0;
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c)
            n += g.Cell(c, r).size();
    if (n == static_cast<size_t>(-1))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const size_t eclSize = std::min<size_t>(size - 2, static_cast<size_t>(data[0]) | (static_cast<size_t>(data[1]) << 8));
    const auto ecl = WorkFolder() / "REBUILDER.ECL";
    Put(ecl, data + 2, eclSize);
    Put(WorkFolder() / "REBUILDER.INF", data + 2 + eclSize, size - 2 - eclSize);

    rq::TForm1 form;
    rq::ProjectState& s = form.s;
    s.ProjectPath = ecl.string();
    bool loaded = false;
    Try([&] {
        rq::LoadECL(s, ecl.string());
        loaded = true;
    });
    if (loaded) {
        Try([&] { form.Button3Click(); });
        Try([&] { form.Button9Click(); });
        Try([&] { form.Button10Click(); });
        Try([&] { form.Button2Click(); });
        Try([&] { form.ComboBox4Change(); });
        Try([&] { form.Button4Click(); });
    }
    for (const rq::TextGrid* g : {&s.StringGrid1, &s.StringGrid2, &s.StringGrid3, &s.StringGrid4, &s.StringGrid5})
        ReadAll(*g);
    return 0;
}
