#include "project/save.h"

#include <cstring>
#include <memory>
#include <string_view>

#include "model/errors.h"
#include "model/numbers.h"
#include "platform/system.h"
#include "project/file_ops.h"
#include "project/reader.h"
#include "project/text_file.h"

namespace rq {

namespace {

// Every line followed by CR LF, bytes as they stand; the buffer is written
// over once, never filled first.
class FileBytes {
public:
    explicit FileBytes(const TextList& buffer)
    {
        for (int i = 0; i < buffer.Count(); ++i)
            size_ += buffer[i].size() + 2;
        bytes_.reset(new char[size_ + 1]);
        char* out = bytes_.get();
        for (int i = 0; i < buffer.Count(); ++i) {
            const std::string_view line = buffer[i];
            std::memcpy(out, line.data(), line.size());
            out += line.size();
            *out++ = '\r';
            *out++ = '\n';
        }
    }
    std::string_view View() const { return std::string_view(bytes_.get(), size_); }

private:
    size_t size_ = 0;
    std::unique_ptr<char[]> bytes_;
};

std::string FolderOf(const std::string& path)
{
    size_t cut = path.size();
    while (cut > 0 && !sys::IsPathSeparator(path[cut - 1]))
        --cut;
    return path.substr(0, cut);
}

// A new file under `path` with `bytes`, flushed to disk. On failure nothing
// is left under `path`.
FileError WriteNewFile(FileOps& ops, const std::string& path, std::string_view bytes, const FileInfo* like)
{
    FileHandle handle = -1;
    FileError err = ops.Create(path, like, handle);
    if (err)
        return err;
    err = ops.Write(handle, bytes);
    if (!err)
        err = ops.Flush(handle);
    const FileError closed = ops.Close(handle);
    if (!err)
        err = closed;
    if (err)
        ops.Remove(path);
    return err;
}

std::string TemporaryName(const std::string& folder, int attempt)
{
    return folder + ".ratequill-" + FormatInteger(sys::ProcessId()) + "-" + FormatInteger(attempt) + ".tmp";
}

// A new file with `bytes` under a free temporary name in `folder`, which is
// stored in `temporary`.
FileError WriteTemporaryFile(FileOps& ops, const std::string& folder, std::string_view bytes, const FileInfo* like,
                             std::string& temporary)
{
    FileError err(FileFault::Exists, 0);
    for (int attempt = 0; err.Fault() == FileFault::Exists && attempt < 100; ++attempt) {
        temporary = TemporaryName(folder, attempt);
        err = WriteNewFile(ops, temporary, bytes, like);
    }
    return err;
}

// Where links are not supported (FAT and some network shares) the backup is a
// copy. It is written whole under a temporary name and only then given the
// backup name: a save that dies while copying must never leave half a backup,
// which every later save would keep as the original. Reading the file for it
// may raise its I/O error.
FileError CopyBackup(FileOps& ops, const std::string& file, const std::string& backup, const FileInfo& like)
{
    std::string temporary;
    FileError err = WriteTemporaryFile(ops, FolderOf(backup), ReadFileBytes(file), &like, temporary);
    if (err)
        return err;
    // A backup that another save made meanwhile is kept: it holds the older text.
    err = ops.Rename(temporary, backup, Replacing::Never);
    if (err)
        ops.Remove(temporary);
    return err.Fault() == FileFault::Exists ? FileError() : err;
}

// The first save keeps the file as it was under the backup name. A backup
// that exists already is never replaced, and the file never leaves its name.
FileError MakeBackup(FileOps& ops, const std::string& file, const std::string& backup, const FileInfo& like)
{
    if (sys::NameTaken(backup))
        return {};
    const FileError err = ops.Link(file, backup);
    switch (err.Fault()) {
    case FileFault::None:
    case FileFault::Exists: return {};
    case FileFault::LinksUnsupported: return CopyBackup(ops, file, backup, like);
    default: return err;
    }
}

// Replaces `file` by the buffer's bytes so that, whatever fails, `file` holds
// either its old or its new content. Raises the failing step's I/O error.
void SaveFile(FileOps& ops, const std::string& file, const std::string& backup, const TextList& buffer)
{
    const FileBytes bytes(buffer);
    const std::optional<FileInfo> old = sys::Inspect(file);
    const FileInfo* like = old ? &*old : nullptr;

    const std::string folder = FolderOf(file);
    std::string temporary;
    FileError err = WriteTemporaryFile(ops, folder, bytes.View(), like, temporary);
    if (err)
        err.Raise(file);

    try {
        if (old)
            err = MakeBackup(ops, file, backup, *old);
    } catch (const AppError&) {  // the file to copy could not be read
        ops.Remove(temporary);
        throw;
    }
    if (!err)
        err = ops.Rename(temporary, file, Replacing::Allowed);
    if (err) {
        ops.Remove(temporary);
        err.Raise(file);
    }
    sys::FlushFolder(folder);
}

// The project file a save replaces: where the name is a symbolic link, the
// file it leads to, so that the link stays a link and its file gets the text.
std::string FileToReplace(const std::string& path, const char* ext)
{
    return sys::ResolveLinks(FindFileIgnoringCase(ChangeFileExt(path, ext)));
}

}  // namespace

ProjectFiles FilesToSave(const std::string& path)
{
    ProjectFiles files;
    files.ecl = FileToReplace(path, ".ECL");
    files.inf = FileToReplace(path, ".INF");
    files.eclBackup = FindFileIgnoringCase(ChangeFileExt(files.ecl, ".ECLBAK"));
    files.infBackup = FindFileIgnoringCase(ChangeFileExt(files.inf, ".INFBAK"));
    return files;
}

void SaveECL(ProjectState& s, const std::string& path)
{
    FileOps& ops = CurrentFileOps();
    const ProjectFiles files = FilesToSave(path);
    // A file the user may not write (read-only, locked, a folder) is refused
    // before anything is written, rather than replaced behind the user's back.
    for (const std::string* file : {&files.ecl, &files.inf})
        if (const FileError err = sys::CheckReplaceable(*file))
            err.Raise(*file);
    SaveFile(ops, files.ecl, files.eclBackup, s.ListBox1);
    SaveFile(ops, files.inf, files.infBackup, s.ListBox2);
    s.Button7.SetEnabled(false);
}

void SaveProject(ProjectState& s) { SaveECL(s, s.ProjectPath); }

}  // namespace rq
