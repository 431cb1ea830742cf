#pragma once
// The file operations that saving performs, behind one small seam. The real
// implementation calls the operating system; a test (or a reliability check)
// derives from FileOps, overrides the step it wants to break and returns the
// FileError of its choice, and installs it with SetFileOps.
//
// Every operation returns a FileError, empty on success; none of them throws.
#include <string>
#include <string_view>

#include "platform/file_error.h"
#include "platform/system.h"

namespace rq {

using FileHandle = sys::FileHandle;
using FileInfo = sys::FileInfo;
using Replacing = sys::Replacing;

class FileOps {
public:
    FileOps() = default;
    FileOps(const FileOps&) = delete;
    FileOps& operator=(const FileOps&) = delete;
    virtual ~FileOps() = default;

    // Creates a file that does not exist yet (an existing one is never opened:
    // FileFault::Exists). With like, the file gets the permissions, and where
    // the user may give them the owner and group, of the file it will replace;
    // without, the system's defaults.
    virtual FileError Create(const std::string& path, const FileInfo* like, FileHandle& handle);
    // Writes every byte, retrying short writes and interruptions.
    virtual FileError Write(FileHandle handle, std::string_view bytes);
    // Flushes the file's data and size to the disk.
    virtual FileError Flush(FileHandle handle);
    virtual FileError Close(FileHandle handle);
    // Gives `file` the second name `backup` (a hard link); never replaces an
    // existing `backup` (FileFault::Exists). FileFault::LinksUnsupported where
    // the file system has no links.
    virtual FileError Link(const std::string& file, const std::string& backup);
    // Puts `from` in place of `to` in one step; `to` need not exist. With
    // Replacing::Never an existing `to` is kept (FileFault::Exists), even one
    // that another program makes at the same moment.
    virtual FileError Rename(const std::string& from, const std::string& to, Replacing replacing);
    // Removes a file; used only to clean up what a failed save created.
    virtual FileError Remove(const std::string& path);
};

// The operations saves use now: the real ones unless a test installed others.
FileOps& CurrentFileOps();
// Installs ops for the saves that follow; nullptr puts the real ones back.
void SetFileOps(FileOps* ops);

}  // namespace rq
