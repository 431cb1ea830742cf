#pragma once
// The file operations that saving performs, behind one small seam. The real
// implementation calls the operating system; a test (or a reliability check)
// derives from FileOps, overrides the step it wants to break and returns the
// errno of its choice, and installs it with SetFileOps.
//
// Every operation returns 0 (Create: a descriptor >= 0) on success and
// -errno on failure; none of them throws.
#include <optional>
#include <string>
#include <string_view>

namespace rq {

class FileOps {
public:
    FileOps() = default;
    FileOps(const FileOps&) = delete;
    FileOps& operator=(const FileOps&) = delete;
    virtual ~FileOps() = default;

    // Creates a file that does not exist yet (an existing one is never opened:
    // -EEXIST). With mode, the file gets exactly these permission bits; without,
    // the usual 0666 narrowed by the umask.
    virtual int Create(const std::string& path, std::optional<unsigned> mode);
    // Writes every byte, retrying short writes and interruptions.
    virtual int Write(int fd, std::string_view bytes);
    // Flushes the file's data and size to the disk (fsync).
    virtual int Flush(int fd);
    virtual int Close(int fd);
    // Gives `file` the second name `backup` (a hard link); never replaces an
    // existing `backup` (-EEXIST).
    virtual int Link(const std::string& file, const std::string& backup);
    // Puts `from` in place of `to` in one step; `to` need not exist.
    virtual int Rename(const std::string& from, const std::string& to);
    // Removes a file; used only to clean up what a failed save created.
    virtual int Remove(const std::string& path);
};

// The operations saves use now: the real ones unless a test installed others.
FileOps& CurrentFileOps();
// Installs ops for the saves that follow; nullptr puts the real ones back.
void SetFileOps(FileOps* ops);

}  // namespace rq
