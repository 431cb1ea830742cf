// Arbitrary bytes as a project: the first two bytes say how many of the rest
// are REBUILDER.ECL, the others are REBUILDER.INF. Loads them, runs the
// commands a user would, applies and rewrites, and reads every view. When the
// apply succeeds, saves into a folder of its own and loads the saved pair again:
// the files hold exactly the buffers with CR LF, the backups exactly the input,
// nothing else is left in the folder, and the reload reads the same lines and
// the same items.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "model/errors.h"
#include "project/apply.h"
#include "project/reader.h"
#include "project/save.h"
#include "ui/form1.h"
#include "views/grid_views.h"

namespace fs = std::filesystem;

namespace {

// A folder of this process's own, removed when the process ends normally.
const fs::path& WorkFolder()
{
    static const fs::path* const dir = [] {
        const fs::path base = fs::exists("/dev/shm") ? "/dev/shm" : fs::temp_directory_path();
        auto* d = new fs::path(base / ("rq-fuzz-" + std::to_string(::getpid())));  // outlives every exit handler
        fs::create_directories(*d / "saved");
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(WorkFolder(), ec);
        });
        return d;
    }();
    return *dir;
}

void Put(const fs::path& p, const uint8_t* data, size_t size)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

std::string Get(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

template <typename F>
void Try(F&& f)
{
    try {
        f();
    } catch (const rq::AppError&) {
    }
}

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void ReadAll(const rq::TextGrid& g)
{
    size_t n = 0;
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c)
            n += g.Cell(c, r).size();
    Check(n != static_cast<size_t>(-1));
}

std::string WithCrlf(const rq::TextList& buffer)
{
    std::string bytes;
    for (const std::string& line : buffer.Lines())
        bytes += line + "\r\n";
    return bytes;
}

// Saves the applied project over a copy of the input and loads it again.
void SaveAndReload(rq::ProjectState& s, const std::string& ecl, const std::string& inf)
{
    const fs::path dir = WorkFolder() / "saved";
    for (const auto& e : fs::directory_iterator(dir))
        fs::remove(e.path());
    const fs::path file = dir / "REBUILDER.ECL";
    Put(file, reinterpret_cast<const uint8_t*>(ecl.data()), ecl.size());
    Put(dir / "REBUILDER.INF", reinterpret_cast<const uint8_t*>(inf.data()), inf.size());

    rq::SaveECL(s, file.string());
    Check(Get(file) == WithCrlf(s.ListBox1));
    Check(Get(dir / "REBUILDER.INF") == WithCrlf(s.ListBox2));
    Check(Get(dir / "REBUILDER.ECLBAK") == ecl);
    Check(Get(dir / "REBUILDER.INFBAK") == inf);
    Check(std::distance(fs::directory_iterator(dir), fs::directory_iterator()) == 4);

    // The rewrite replaces only bitrate, pass, width and reduction lines, so
    // the reader finds the same items with the same titles, frames and rates.
    rq::TForm1 again;
    rq::ProjectState& r = again.s;
    Try([&] { rq::LoadECL(r, file.string()); });
    Check(r.ListBox1.Lines() == s.ListBox1.Lines());
    Check(r.ListBox2.Lines() == s.ListBox2.Lines());
    Check(r.StringGrid1.RowCount() == s.StringGrid1.RowCount());
    for (int row = 0; row < s.StringGrid1.RowCount(); ++row)
        for (int col : {rq::kColTitle, rq::kColFirstEncode, rq::kColLastEncode, rq::kColFrameRate})
            Check(r.StringGrid1.Cell(col, row) == s.StringGrid1.Cell(col, row));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const size_t eclSize = std::min<size_t>(size - 2, static_cast<size_t>(data[0]) | (static_cast<size_t>(data[1]) << 8));
    const std::string ecl(reinterpret_cast<const char*>(data + 2), eclSize);
    const std::string inf(reinterpret_cast<const char*>(data + 2 + eclSize), size - 2 - eclSize);
    const auto file = WorkFolder() / "REBUILDER.ECL";
    Put(file, data + 2, eclSize);
    Put(WorkFolder() / "REBUILDER.INF", data + 2 + eclSize, size - 2 - eclSize);

    rq::TForm1 form;
    rq::ProjectState& s = form.s;
    s.ProjectPath = file.string();
    bool loaded = false;
    Try([&] {
        rq::LoadECL(s, file.string());
        loaded = true;
    });
    bool applied = false;
    if (loaded) {
        Try([&] { form.Button3Click(); });
        Try([&] { form.Button9Click(); });
        Try([&] { form.Button10Click(); });
        Try([&] { form.Button2Click(); });
        Try([&] { form.ComboBox4Change(); });
        Try([&] {
            form.Button4Click();
            applied = true;
        });
    }
    // The views write what they recorded, as a window's paint has them do.
    rq::WritePendingViews(s);
    for (const rq::TextGrid* g : {&s.StringGrid1, &s.StringGrid2, &s.StringGrid3, &s.StringGrid4, &s.StringGrid5})
        ReadAll(*g);
    if (applied)
        SaveAndReload(s, ecl, inf);
    return 0;
}
