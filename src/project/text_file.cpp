#include "project/text_file.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "model/errors.h"

namespace rq {

namespace {

constexpr char kCtrlZ = 26;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

std::string ReadFileBytes(const std::string& path)
{
    int fd;
    do
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        ThrowIoErrno(errno);
    const Descriptor file(fd);
    std::string bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(file.Get(), chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowIoErrno(errno);
        }
        if (n == 0)
            break;
        bytes.append(chunk, static_cast<size_t>(n));
    }
    return bytes;
}

std::vector<std::string> SplitTextLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        if (bytes[i] == kCtrlZ)
            break;  // end of file
        std::string line;
        bool skipping = false;  // after a Ctrl-Z inside the line
        while (i < n && bytes[i] != '\n') {
            const char c = bytes[i++];
            if (c == '\r') {
                if (i < n && bytes[i] == '\n')
                    break;
                continue;  // a lone CR is dropped
            }
            if (c == kCtrlZ)
                skipping = true;
            else if (!skipping)
                line += c;
        }
        if (i < n && bytes[i] == '\n')
            ++i;
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace rq
