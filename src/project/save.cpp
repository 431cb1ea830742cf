#include "project/save.h"

#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "model/errors.h"
#include "model/numbers.h"
#include "project/file_ops.h"
#include "project/reader.h"
#include "project/text_file.h"

namespace rq {

namespace {

// Every line followed by CR LF, bytes as they stand.
std::string FileBytes(const TextList& buffer)
{
    size_t size = 0;
    for (int i = 0; i < buffer.Count(); ++i)
        size += buffer[i].size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (int i = 0; i < buffer.Count(); ++i) {
        bytes += buffer[i];
        bytes += "\r\n";
    }
    return bytes;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool NameTaken(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// Makes the rename durable: the folder's entry is on disk too. A folder that
// cannot be synced is left as it is; the file itself already is.
void FlushFolder(const std::string& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        static_cast<void>(::fsync(fd));
        ::close(fd);
    }
}

// A new file under `path` with `bytes`, flushed to disk. On failure nothing
// is left under `path` and the errno is returned (0 on success).
int WriteNewFile(FileOps& ops, const std::string& path, std::string_view bytes, std::optional<unsigned> mode,
                 const struct stat* owner)
{
    const int fd = ops.Create(path, mode);
    if (fd < 0)
        return -fd;
    if (owner)  // keeps the project file's owner when root saves it; a user cannot, and need not
        static_cast<void>(::fchown(fd, owner->st_uid, owner->st_gid));
    int rc = ops.Write(fd, bytes);
    if (rc == 0)
        rc = ops.Flush(fd);
    const int closed = ops.Close(fd);
    if (rc == 0)
        rc = closed;
    if (rc != 0) {
        ops.Remove(path);
        return -rc;
    }
    return 0;
}

std::string TemporaryName(const std::string& folder, int attempt)
{
    return folder + ".ratequill-" + FormatInteger(::getpid()) + "-" + FormatInteger(attempt) + ".tmp";
}

// A new file with `bytes` under a free temporary name in `folder`, which is
// stored in `temporary`. Returns the errno (0 on success).
int WriteTemporaryFile(FileOps& ops, const std::string& folder, std::string_view bytes, std::optional<unsigned> mode,
                       const struct stat* owner, std::string& temporary)
{
    int err = EEXIST;
    for (int attempt = 0; err == EEXIST && attempt < 100; ++attempt) {
        temporary = TemporaryName(folder, attempt);
        err = WriteNewFile(ops, temporary, bytes, mode, owner);
    }
    return err;
}

// Where links are not supported (FAT and some network shares) the backup is a
// copy. It is written whole under a temporary name and only then given the
// backup name: a save that dies while copying must never leave half a backup,
// which every later save would keep as the original. Reading the file for it
// may raise its I/O error.
int CopyBackup(FileOps& ops, const std::string& file, const std::string& backup, unsigned mode)
{
    std::string temporary;
    int err = WriteTemporaryFile(ops, FolderOf(backup), ReadFileBytes(file), mode, nullptr, temporary);
    if (err != 0)
        return err;
    if (NameTaken(backup)) {  // a backup appeared meanwhile: it is kept
        ops.Remove(temporary);
        return 0;
    }
    err = -ops.Rename(temporary, backup);
    if (err != 0)
        ops.Remove(temporary);
    return err;
}

// The first save keeps the file as it was under the backup name. A backup
// that exists already is never replaced, and the file never leaves its name.
int MakeBackup(FileOps& ops, const std::string& file, const std::string& backup, unsigned mode)
{
    if (NameTaken(backup))
        return 0;
    const int rc = ops.Link(file, backup);
    switch (-rc) {
    case 0:
    case EEXIST: return 0;
    case EPERM:
    case EXDEV:
    case EMLINK:
    case ENOSYS:
    case EOPNOTSUPP: return CopyBackup(ops, file, backup, mode);
    default: return -rc;
    }
}

// Replaces `file` by the buffer's bytes so that, whatever fails, `file` holds
// either its old or its new content. Raises the failing step's I/O error.
void SaveFile(FileOps& ops, const std::string& file, const std::string& backup, const TextList& buffer)
{
    const std::string bytes = FileBytes(buffer);
    struct stat st {};
    const bool exists = ::stat(file.c_str(), &st) == 0;
    const std::optional<unsigned> mode =
        exists ? std::optional<unsigned>(static_cast<unsigned>(st.st_mode) & 07777u) : std::nullopt;

    const std::string folder = FolderOf(file);
    std::string temporary;
    int err = WriteTemporaryFile(ops, folder, bytes, mode, exists ? &st : nullptr, temporary);
    if (err != 0)
        ThrowIoErrno(err);

    try {
        if (exists)
            err = MakeBackup(ops, file, backup, *mode);
    } catch (const AppError&) {  // the file to copy could not be read
        ops.Remove(temporary);
        throw;
    }
    if (err == 0)
        err = -ops.Rename(temporary, file);
    if (err != 0) {
        ops.Remove(temporary);
        ThrowIoErrno(err);
    }
    FlushFolder(folder);
}

}  // namespace

void SaveECL(ProjectState& s, const std::string& path)
{
    FileOps& ops = CurrentFileOps();
    const std::string eclFile = FindFileIgnoringCase(ChangeFileExt(path, ".ECL"));
    SaveFile(ops, eclFile, FindFileIgnoringCase(ChangeFileExt(eclFile, ".ECLBAK")), s.ListBox1);
    const std::string infFile = FindFileIgnoringCase(ChangeFileExt(path, ".INF"));
    SaveFile(ops, infFile, FindFileIgnoringCase(ChangeFileExt(infFile, ".INFBAK")), s.ListBox2);
    s.Button7.SetEnabled(false);
}

void SaveProject(ProjectState& s) { SaveECL(s, s.ProjectPath); }

}  // namespace rq
