#pragma once
// A project file this process may not write, root included where the file
// system has the immutable attribute; put back when it goes.
#include <string>

#if defined(__linux__)
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace rqtest {

class ReadOnlyFile {
public:
    explicit ReadOnlyFile(std::string path) : path_(std::move(path))
    {
#if defined(__linux__)
        ::chmod(path_.c_str(), 0444);
        if (Writable())
            SetImmutable(true);
#endif
    }
    ~ReadOnlyFile()
    {
#if defined(__linux__)
        if (immutable_)
            SetImmutable(false);
        ::chmod(path_.c_str(), 0644);
#endif
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // False where nothing could keep this process from writing it.
    bool Holds() const
    {
#if defined(__linux__)
        return !Writable();
#else
        return false;
#endif
    }

private:
#if defined(__linux__)
    bool Writable() const { return ::faccessat(AT_FDCWD, path_.c_str(), W_OK, AT_EACCESS) == 0; }
    void SetImmutable(bool on)
    {
        const int fd = ::open(path_.c_str(), O_RDONLY);
        if (fd < 0)
            return;
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            if (::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0)
                immutable_ = on;
        }
        ::close(fd);
    }
#endif
    std::string path_;
    bool immutable_ = false;
};

}  // namespace rqtest
