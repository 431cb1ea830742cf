// The POSIX side of the system calls (Linux and the like).
#if !defined(_WIN32)

#include "platform/system.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <iterator>
#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rq::sys {

namespace {

FileError LastError() { return FileError::FromErrno(errno > 0 ? errno : EIO); }

int DescriptorOf(FileHandle handle) { return static_cast<int>(handle); }

}  // namespace

std::optional<FileInfo> Inspect(const std::string& path)
{
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    FileInfo info;
    info.folder = S_ISDIR(st.st_mode);
    info.mode = static_cast<unsigned>(st.st_mode) & 07777u;
    info.owner = st.st_uid;
    info.group = st.st_gid;
    return info;
}

bool NameTaken(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::string ResolveLinks(const std::string& path)
{
    std::string resolved = path;
    // As many hops as the system itself follows before it gives up.
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(resolved.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            break;
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 0) + 256, '\0');
        const ssize_t n = ::readlink(resolved.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<size_t>(n) >= target.size())
            break;
        target.resize(static_cast<size_t>(n));
        if (target[0] != '/') {  // relative to the link's own folder
            const size_t slash = resolved.rfind('/');
            target = (slash == std::string::npos ? std::string() : resolved.substr(0, slash + 1)) + target;
        }
        resolved = std::move(target);
    }
    return resolved;
}

FileError CheckReplaceable(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    if (S_ISDIR(st.st_mode))
        return FileError::FromErrno(EISDIR);
    // The effective ids decide, as they would for writing the file in place;
    // root may write anything.
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0)
        return {};
    return LastError();
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return names;
    while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            names.emplace_back(e->d_name);
    }
    ::closedir(dir);
    return names;
}

FileError CheckFolderWritable(const std::string& folder)
{
    if (::faccessat(AT_FDCWD, folder.empty() ? "." : folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0)
        return {};
    // A folder that is not there is the file's error to report, when it is made.
    return errno == EACCES || errno == EPERM || errno == EROFS ? LastError() : FileError();
}

bool HeldByAnotherProgram(const FileError&) { return false; }  // locks here are advisory

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool IsPlainFile(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {

// What a project file must be before a byte of it is read.
FileError CheckReadable(const struct stat& st)
{
    if (S_ISDIR(st.st_mode))
        return FileError::FromErrno(EISDIR);
    if (!S_ISREG(st.st_mode))
        return {FileFault::NotAFile, 0};
    if (st.st_size > kMaxProjectFileBytes)
        return {FileFault::TooLarge, 0};
    return {};
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { ::close(fd_); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

FileError ReadWholeFile(const std::string& path, std::string& bytes)
{
    // Looked at before it is opened: opening a pipe waits for a writer, and
    // opening a device may do something.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        if (const FileError err = CheckReadable(st))
            return err;
    int fd;
    // Non-blocking, should the name have become a pipe since.
    do
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return LastError();
    const Descriptor file(fd);
    if (::fstat(fd, &st) != 0)
        return LastError();
    if (const FileError err = CheckReadable(st))
        return err;
    bytes.clear();
    // Reading into a buffer of the file's size avoids copying it while it grows.
    if (st.st_size > 0)
        bytes.reserve(static_cast<size_t>(st.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return LastError();
        }
        if (n == 0)
            return {};
        // A file that grows while it is read stays within the bound too.
        if (bytes.size() + static_cast<size_t>(n) > static_cast<size_t>(kMaxProjectFileBytes))
            return {FileFault::TooLarge, 0};
        bytes.append(chunk, static_cast<size_t>(n));
    }
}

FileError CreateNewFile(const std::string& path, const FileInfo* like, FileHandle& handle)
{
    const mode_t bits = like ? static_cast<mode_t>(like->mode & 07777u) : static_cast<mode_t>(0666);
    int fd;
    do
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, bits);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return LastError();
    if (like) {
        // Root keeps the file's owner; a user keeps its group when a member of
        // it. Where neither may be given, the file is the user's, as any new one.
        if (like->group >= 0) {
            const auto uid = like->owner >= 0 ? static_cast<uid_t>(like->owner) : static_cast<uid_t>(-1);
            const auto gid = static_cast<gid_t>(like->group);
            if (::fchown(fd, uid, gid) != 0)
                static_cast<void>(::fchown(fd, static_cast<uid_t>(-1), gid));
        }
        // The umask narrowed the bits open() was given, and a change of owner
        // may have cleared some: the project file's own permissions are what
        // the new file must have.
        if (::fchmod(fd, bits) != 0) {
            const FileError error = LastError();
            ::close(fd);
            ::unlink(path.c_str());
            return error;
        }
    }
    handle = fd;
    return {};
}

FileError WriteFile(FileHandle handle, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(DescriptorOf(handle), bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return LastError();
        }
        if (n == 0)
            return FileError::FromErrno(ENOSPC);
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return {};
}

FileError FlushFile(FileHandle handle)
{
    if (::fsync(DescriptorOf(handle)) == 0)
        return {};
    // A file system that cannot sync has nothing more to give; the data is as
    // safe there as it will get.
    if (errno == EINVAL || errno == ENOTSUP)
        return {};
    return LastError();
}

FileError CloseFile(FileHandle handle)
{
    // After an interrupted close the descriptor is gone on Linux: never retry.
    if (::close(DescriptorOf(handle)) == 0 || errno == EINTR)
        return {};
    return LastError();
}

FileError LinkFile(const std::string& file, const std::string& backup)
{
    if (::link(file.c_str(), backup.c_str()) == 0)
        return {};
    switch (errno) {
    case EPERM:
    case EXDEV:
    case EMLINK:
    case ENOSYS:
    case EOPNOTSUPP: return {FileFault::LinksUnsupported, errno};
    default: return LastError();
    }
}

FileError RenameOver(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0 ? FileError() : LastError();
}

FileError RenameBeside(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS)
        return LastError();
    // A file system that cannot refuse in the same step: the name is checked
    // just before, which leaves only a moment for another program.
    if (NameTaken(to))
        return {FileFault::Exists, EEXIST};
    return RenameOver(from, to);
}

FileError RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0 ? FileError() : LastError(); }

void FlushFolder(const std::string& folder)
{
    // A folder that cannot be synced is left as it is; the file itself already is.
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        static_cast<void>(::fsync(fd));
        ::close(fd);
    }
}

long long ProcessId() { return ::getpid(); }

bool ProcessAlive(long long pid)
{
    if (pid <= 0 || pid != static_cast<pid_t>(pid))
        return false;
    // Another user's process answers "not permitted", and it is there all the same.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

namespace {

constexpr int kHeldSignals[] = {SIGTERM, SIGINT, SIGHUP};
struct sigaction g_previous[std::size(kHeldSignals)];
volatile std::sig_atomic_t g_requested = 0;

extern "C" void RememberRequest(int signal) { g_requested = signal; }

}  // namespace

// A handler rather than a blocked signal: whichever thread of the process the
// request reaches, it only notes it.
InterruptionsHeld::InterruptionsHeld()
{
    g_requested = 0;
    struct sigaction held {};
    held.sa_handler = RememberRequest;
    held.sa_flags = SA_RESTART;
    sigemptyset(&held.sa_mask);
    for (size_t i = 0; i < std::size(kHeldSignals); ++i)
        ::sigaction(kHeldSignals[i], &held, &g_previous[i]);
}

InterruptionsHeld::~InterruptionsHeld()
{
    for (size_t i = 0; i < std::size(kHeldSignals); ++i)
        ::sigaction(kHeldSignals[i], &g_previous[i], nullptr);
    if (const int signal = g_requested) {
        g_requested = 0;
        ::raise(signal);
    }
}

RegionalSeparators ReadRegionalSeparators()
{
    RegionalSeparators s;
    locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr))
        return s;
    const char* dec = nl_langinfo_l(RADIXCHAR, loc);
    const char* tho = nl_langinfo_l(THOUSEP, loc);
    if (dec != nullptr && std::strlen(dec) == 1)
        s.decimal = dec[0];
    if (tho != nullptr && std::strlen(tho) == 1)
        s.thousands = tho[0];
    freelocale(loc);
    return s;
}

void PrepareProcess() { std::signal(SIGXFSZ, SIG_IGN); }

std::vector<std::string> CommandLineArguments(int argc, char** argv)
{
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void BinaryStandardStreams() {}

}  // namespace rq::sys

#endif
