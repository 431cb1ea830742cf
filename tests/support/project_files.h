#pragma once
// Small DVD-RB projects written by the tests into a folder of their own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "model/errors.h"
#include "model/numbers.h"
#include "model/project_state.h"
#include "support/error_of.h"
#include "support/project_text.h"

namespace rqtest {

// A path of the program's (UTF-8) as the file system library takes it.
inline std::filesystem::path FsPath(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

class TempFolder {
public:
    TempFolder()
    {
        std::random_device random;
        for (;;) {
            const std::filesystem::path p =
                std::filesystem::temp_directory_path() / ("ratequill-" + std::to_string(random()));
            if (std::filesystem::create_directory(p)) {
                const std::u8string u = p.u8string();
                path_ = std::string(u.begin(), u.end()) + "/";
                return;
            }
        }
    }
    ~TempFolder() { std::filesystem::remove_all(FsPath(path_)); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string operator/(const std::string& name) const { return path_ + name; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// The example project's pair copied into the folder.
inline void CopyExample(const TempFolder& dir)
{
    for (const char* name : {"REBUILDER.ECL", "REBUILDER.INF"})
        std::filesystem::copy_file(FsPath(std::string(RQ_EXAMPLES_DIR) + "/" + name), FsPath(dir / name));
}

// The names in a folder, as UTF-8.
inline std::set<std::string> Names(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(FsPath(folder))) {
        const std::u8string u = e.path().filename().u8string();
        names.emplace(u.begin(), u.end());
    }
    return names;
}

inline std::set<std::string> Names(const TempFolder& dir) { return Names(dir.Path()); }

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(FsPath(path), std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(FsPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<std::string> Column(const rq::TextGrid& g, int col)
{
    std::vector<std::string> out;
    for (int r = 0; r < g.RowCount(); ++r)
        out.emplace_back(g.Cell(col, r));
    return out;
}

}  // namespace rqtest
