#include "project/save.h"

#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

#include "model/errors.h"
#include "model/numbers.h"
#include "platform/system.h"
#include "project/file_ops.h"
#include "project/paths.h"
#include "project/reader.h"
#include "project/text_file.h"

namespace rq {

namespace {

// Every line followed by CR LF, bytes as they stand; the buffer is written
// over once, never filled first.
class FileBytes {
public:
    explicit FileBytes(const TextList& list)
    {
        const TextList::View buffer = list.Viewed();
        for (int i = 0; i < buffer.Count(); ++i)
            size_ += buffer[i].size() + 2;
        bytes_.reset(new char[size_ + 1]);
        // Lines that lie in the buffer's text one after another, each after a
        // CR LF, as a file with CR LF line ends was read, are copied as one run.
        char* out = bytes_.get();
        const int count = buffer.Count();
        for (int i = 0; i < count;) {
            const std::string_view first = buffer[i];
            const char* const start = first.data();
            const char* end = start + first.size();
            for (++i; i < count; ++i) {
                const std::string_view next = buffer[i];
                if (next.data() - end != 2 || end[0] != '\r' || end[1] != '\n')
                    break;
                end = next.data() + next.size();
            }
            std::memcpy(out, start, static_cast<size_t>(end - start));
            out += end - start;
            *out++ = '\r';
            *out++ = '\n';
        }
    }
    std::string_view View() const { return std::string_view(bytes_.get(), size_); }

private:
    size_t size_ = 0;
    std::unique_ptr<char[]> bytes_;
};

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

constexpr std::string_view kTemporaryPrefix = ".ratequill-";
constexpr std::string_view kTemporarySuffix = ".tmp";

// ".ratequill-<process>-<attempt>.tmp": the program and the process that
// writes it, so that a later run can tell whether its owner still lives.
std::string TemporaryName(const std::string& folder, int attempt)
{
    return folder + std::string(kTemporaryPrefix) + FormatInteger(sys::ProcessId()) + "-" + FormatInteger(attempt) +
           std::string(kTemporarySuffix);
}

// The process that owns a temporary file of this program's, by its name; 0
// for any other name.
long long TemporaryOwner(std::string_view name)
{
    if (name.substr(0, kTemporaryPrefix.size()) != kTemporaryPrefix || name.size() <= kTemporarySuffix.size() ||
        name.substr(name.size() - kTemporarySuffix.size()) != kTemporarySuffix)
        return 0;
    name = name.substr(kTemporaryPrefix.size(), name.size() - kTemporaryPrefix.size() - kTemporarySuffix.size());
    const size_t dash = name.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash > 18 || dash + 1 == name.size())
        return 0;
    long long owner = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (i == dash)
            continue;
        if (c < '0' || c > '9')
            return 0;
        if (i < dash)
            owner = owner * 10 + (c - '0');
    }
    return owner;
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
    if (err)
        temporary.clear();
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

// One project file on its way to being replaced: its new bytes under a
// temporary name beside it, its backup made, and only then the new file under
// its name.
struct Replacement {
    std::string file, backup, folder;
    std::optional<FileInfo> old;  // the file being replaced, when there is one
    std::string temporary;        // empty until written
};

Replacement Prepare(const std::string& file, const std::string& backup)
{
    return Replacement{file, backup, FolderOf(file), sys::Inspect(file), {}};
}

// The buffer's bytes, flushed to the disk, under a temporary name.
FileError WriteAside(FileOps& ops, Replacement& r, const TextList& buffer)
{
    return WriteTemporaryFile(ops, r.folder, FileBytes(buffer).View(), r.old ? &*r.old : nullptr, r.temporary);
}

// The temporaries a failed save leaves are its own to remove.
void RemoveTemporaries(FileOps& ops, const Replacement& ecl, const Replacement& inf)
{
    for (const Replacement* r : {&ecl, &inf})
        if (!r->temporary.empty())
            ops.Remove(r->temporary);
}

// Everything that could refuse the save, before anything is written: a file
// the user may not write (read-only, locked, a folder), a folder that takes
// no new file, a pair that is one file under two names.
void CheckSavable(const ProjectFiles& files)
{
    if (sys::SameFile(files.ecl, files.inf))
        throw AppError(kSameFileMessage, ErrorPlace{files.inf, 0, {}, {}, "the same file as " + files.ecl});
    for (const std::string* file : {&files.ecl, &files.inf})
        if (const FileError err = sys::CheckReplaceable(*file)) {
            const char* note = err.Fault() != FileFault::AccessDenied ? ""
                               : sys::HeldByAnotherProgram(err)      ? "the file is in use by another program"
                                                                     : "the file is read-only";
            throw AppError(err.Text(), ErrorPlace{*file, 0, {}, {}, note});
        }
    for (const std::string* file : {&files.ecl, &files.inf}) {
        const std::string folder = FolderOf(*file);
        if (const FileError err = sys::CheckFolderWritable(folder)) {
            const bool readOnly = err.Fault() == FileFault::AccessDenied;
            throw AppError(err.Text(), ErrorPlace{folder.empty() ? std::string(".") : folder, 0, {}, {},
                                                  readOnly ? "the folder is read-only" : ""});
        }
    }
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

std::string SaveRefusal(const std::string& path)
{
    try {
        CheckSavable(FilesToSave(path));
    } catch (const AppError& e) {
        const ErrorPlace& place = e.Place();
        return place.file + ": " + (place.note.empty() ? e.Text() : place.note);
    }
    return {};
}

void RemoveStaleTemporaries(const std::string& folder)
{
    for (const std::string& name : sys::FolderNames(folder)) {
        const long long owner = TemporaryOwner(name);
        if (owner <= 0 || owner == sys::ProcessId() || sys::ProcessAlive(owner))
            continue;
        // Only a file of its own: never a link or a folder that took the name.
        if (sys::IsPlainFile(folder + name))
            static_cast<void>(sys::RemoveFile(folder + name));
    }
}

void RemoveStaleTemporariesOf(const std::string& path)
{
    const ProjectFiles files = FilesToSave(path);
    const std::string eclFolder = FolderOf(files.ecl);
    const std::string infFolder = FolderOf(files.inf);
    RemoveStaleTemporaries(eclFolder);
    if (infFolder != eclFolder)
        RemoveStaleTemporaries(infFolder);
}

void SaveECL(ProjectState& s, const std::string& path)
{
    FileOps& ops = CurrentFileOps();
    const ProjectFiles files = FilesToSave(path);
    CheckSavable(files);
    // A request to end the program waits until the pair is replaced, or the
    // failed save has cleaned up after itself.
    const sys::InterruptionsHeld held;
    Replacement ecl = Prepare(files.ecl, files.eclBackup);
    Replacement inf = Prepare(files.inf, files.infBackup);
    RemoveStaleTemporaries(ecl.folder);
    if (inf.folder != ecl.folder)
        RemoveStaleTemporaries(inf.folder);

    // Both new files are whole on the disk, and both backups made, before
    // either project file is replaced: a full disk or a refusal leaves the
    // pair as it was. Only the two renames remain, one right after the other.
    const std::string* failing = &ecl.file;
    try {
        FileError err = WriteAside(ops, ecl, s.ListBox1);
        if (!err) {
            failing = &inf.file;
            err = WriteAside(ops, inf, s.ListBox2);
        }
        for (Replacement* r : {&ecl, &inf})
            if (!err && r->old) {
                failing = &r->file;
                err = MakeBackup(ops, r->file, r->backup, *r->old);
            }
        if (!err) {
            failing = &ecl.file;
            err = ops.Rename(ecl.temporary, ecl.file, Replacing::Allowed);
        }
        if (!err) {
            ecl.temporary.clear();
            failing = &inf.file;
            err = ops.Rename(inf.temporary, inf.file, Replacing::Allowed);
        }
        if (err)
            err.Raise(*failing);
        inf.temporary.clear();
    } catch (...) {  // an I/O error, or a file to copy that could not be read
        RemoveTemporaries(ops, ecl, inf);
        throw;
    }
    sys::FlushFolder(ecl.folder);
    if (inf.folder != ecl.folder)
        sys::FlushFolder(inf.folder);
    s.Button7.SetEnabled(false);
}

void WriteWholeFile(const std::string& path, std::string_view bytes)
{
    FileOps& ops = CurrentFileOps();
    const std::string file = sys::ResolveLinks(path);
    const std::string folder = FolderOf(file);
    if (const FileError err = sys::CheckReplaceable(file))
        err.Raise(file);
    if (const FileError err = sys::CheckFolderWritable(folder))
        err.Raise(folder.empty() ? std::string(".") : folder);
    const sys::InterruptionsHeld held;
    const std::optional<FileInfo> old = sys::Inspect(file);
    std::string temporary;
    FileError err = WriteTemporaryFile(ops, folder, bytes, old ? &*old : nullptr, temporary);
    if (!err) {
        err = ops.Rename(temporary, file, Replacing::Allowed);
        if (err)
            ops.Remove(temporary);
    }
    if (err)
        err.Raise(file);
    sys::FlushFolder(folder);
}

void SaveProject(ProjectState& s) { SaveECL(s, s.ProjectPath); }

}  // namespace rq
