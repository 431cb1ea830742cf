// The least a batch save can cost: read REBUILDER.ECL and .INF line by line,
// write them back with CR LF and write both backups. With --fsync each
// written file is also flushed to the disk, as a save that survives a power
// cut must do.
#include <cstdio>
#include <fstream>
#include <unistd.h>
#include <string>
#include <vector>

static std::vector<std::string> ReadLines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

static bool g_fsync = false;

static void WriteLines(const std::string& path, const std::vector<std::string>& lines)
{
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        for (const std::string& l : lines) {
            out.write(l.data(), static_cast<std::streamsize>(l.size()));
            out.write("\r\n", 2);
        }
    }
    if (g_fsync) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (f != nullptr) {
            static_cast<void>(::fsync(::fileno(f)));
            std::fclose(f);
        }
    }
}

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[2]) == "--fsync")
        g_fsync = true;
    else if (argc != 2)
        return 2;
    const std::string base = argv[1];
    for (const char* ext : {"ECL", "INF"}) {
        const std::vector<std::string> lines = ReadLines(base + "." + ext);
        WriteLines(base + "." + ext + "BAK", lines);
        WriteLines(base + "." + ext, lines);
    }
    return 0;
}
