#include "project/paths.h"

#include <optional>

#include "model/project_state.h"
#include "platform/system.h"

namespace rq {

namespace {

// An extension never reaches past a folder or a drive.
bool IsFolderSeparator(char c) { return c == '/' || c == '\\' || c == ':'; }

size_t NameStart(const std::string& path)
{
    size_t cut = path.size();
    while (cut > 0 && !sys::IsPathSeparator(path[cut - 1]))
        --cut;
    return cut;
}

}  // namespace

std::string FolderOf(const std::string& path) { return path.substr(0, NameStart(path)); }

std::string FileNameOf(const std::string& path) { return path.substr(NameStart(path)); }

std::string ChangeFileExt(const std::string& path, const std::string& ext)
{
    for (size_t i = path.size(); i > 0; --i) {
        const char c = path[i - 1];
        if (IsFolderSeparator(c))
            break;
        if (c == '.')
            return path.substr(0, i - 1) + ext;
    }
    return path + ext;
}

bool FileExists(const std::string& path)
{
    const std::optional<sys::FileInfo> info = sys::Inspect(path);
    return info && !info->folder;
}

std::string FindFileIgnoringCase(const std::string& path)
{
    // Where names ignore case the name always exists; the folder tells the
    // spelling on disk, which a save then keeps.
    if (path.empty() || (!sys::kNamesIgnoreCase && FileExists(path)))
        return path;
    const std::string folder = FolderOf(path);
    const std::string wanted = LowerAscii(FileNameOf(path));
    if (wanted.empty())
        return path;

    // Several spellings of one name can sit side by side; the first in byte
    // order is taken, so the choice does not depend on the directory's order.
    std::string best;
    for (const std::string& name : sys::FolderNames(folder)) {
        if (LowerAscii(name) != wanted || !FileExists(folder + name))
            continue;
        if (best.empty() || name < best)
            best = name;
    }
    return best.empty() ? path : folder + best;
}

}  // namespace rq
