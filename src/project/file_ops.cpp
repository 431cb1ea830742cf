#include "project/file_ops.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rq {

namespace {

FileOps* g_installed = nullptr;

int Failed() { return errno > 0 ? -errno : -EIO; }

}  // namespace

int FileOps::Create(const std::string& path, std::optional<unsigned> mode)
{
    const mode_t bits = mode ? static_cast<mode_t>(*mode & 07777u) : static_cast<mode_t>(0666);
    int fd;
    do
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, bits);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return Failed();
    // The umask narrowed the bits open() was given; the project file's own
    // permissions are what the new file must have.
    if (mode && ::fchmod(fd, bits) != 0) {
        const int err = Failed();
        ::close(fd);
        ::unlink(path.c_str());
        return err;
    }
    return fd;
}

int FileOps::Write(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Failed();
        }
        if (n == 0)
            return -ENOSPC;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

int FileOps::Flush(int fd)
{
    if (::fsync(fd) == 0)
        return 0;
    // A file system that cannot sync has nothing more to give; the data is as
    // safe there as it will get.
    if (errno == EINVAL || errno == ENOTSUP)
        return 0;
    return Failed();
}

int FileOps::Close(int fd)
{
    // After an interrupted close the descriptor is gone on Linux: never retry.
    if (::close(fd) == 0 || errno == EINTR)
        return 0;
    return Failed();
}

int FileOps::Link(const std::string& file, const std::string& backup)
{
    return ::link(file.c_str(), backup.c_str()) == 0 ? 0 : Failed();
}

int FileOps::Rename(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : Failed();
}

int FileOps::Remove(const std::string& path) { return ::unlink(path.c_str()) == 0 ? 0 : Failed(); }

FileOps& CurrentFileOps()
{
    static FileOps real;
    return g_installed ? *g_installed : real;
}

void SetFileOps(FileOps* ops) { g_installed = ops; }

}  // namespace rq
