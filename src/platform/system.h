#pragma once
// Everything the program asks of the operating system, in one place per
// system (system_posix.cpp, system_windows.cpp). Paths are UTF-8 here; the
// Windows side turns them into UTF-16 at each call. Apart from these two
// files, the library includes no POSIX or Windows header.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_error.h"

namespace rq::sys {

// An open file: a descriptor, or a Windows handle.
using FileHandle = std::intptr_t;

// Where a path's folder part ends: "/" everywhere, and on Windows also "\"
// and the drive's ":" ("C:REBUILDER.ECL").
constexpr bool IsPathSeparator(char c)
{
#if defined(_WIN32)
    return c == '/' || c == '\\' || c == ':';
#else
    return c == '/';
#endif
}

// Whether the file system takes "REBUILDER.INF" and "rebuilder.inf" for one
// name, so that only a look at the folder tells its spelling on disk.
#if defined(_WIN32)
constexpr bool kNamesIgnoreCase = true;
#else
constexpr bool kNamesIgnoreCase = false;
#endif

// What a replaced file passes on to the file that takes its place.
struct FileInfo {
    bool folder = false;
    unsigned mode = 0;   // permission bits (POSIX)
    long long owner = -1;  // user and group ids (POSIX); -1 when not kept
    long long group = -1;
};

// The file or folder behind path (through symbolic links); nothing when there is none.
std::optional<FileInfo> Inspect(const std::string& path);
// Whether anything at all carries the name, a dangling symbolic link included.
bool NameTaken(const std::string& path);
// The path of the file that path names once symbolic links are followed: a
// save writes beside that file, so the link stays a link.
std::string ResolveLinks(const std::string& path);
// Whether a save may replace the file: AccessDenied when the user may not
// write it (permissions, the read-only attribute, another program holding it
// locked), InvalidName when it is a folder; no error when nothing is there.
FileError CheckReplaceable(const std::string& path);
// Whether a save may create files in the folder ("" is the current one):
// AccessDenied when the user may not (POSIX; Windows has no such check).
FileError CheckFolderWritable(const std::string& folder);
// Whether both names lead to one file (device and inode; the volume and file
// index on Windows). False when either cannot be looked at.
bool SameFile(const std::string& a, const std::string& b);
// Whether the name is a plain file itself, not a link, folder or device.
bool IsPlainFile(const std::string& path);
// Whether a refusal means that another program holds the file (Windows'
// sharing and lock violations) rather than that the file is read-only.
bool HeldByAnotherProgram(const FileError& err);
// The names in a folder ("" is the current one), as UTF-8.
std::vector<std::string> FolderNames(const std::string& folder);
// A project file is never larger than this; a larger one is refused unread.
constexpr long long kMaxProjectFileBytes = 1LL << 30;
// The whole content of a regular file (links followed). A pipe, device,
// socket or anything else that is no file is refused (NotAFile) without
// waiting for it, a folder is InvalidName, a file over kMaxProjectFileBytes is
// TooLarge. Memory running out throws std::bad_alloc.
FileError ReadWholeFile(const std::string& path, std::string& bytes);

// Creates a file that does not exist yet (Exists when the name is taken).
// With like, the new file gets its permissions and, as far as the user may
// give them, its owner and group; without, the system's defaults.
FileError CreateNewFile(const std::string& path, const FileInfo* like, FileHandle& handle);
// Writes every byte.
FileError WriteFile(FileHandle handle, std::string_view bytes);
// Puts the file's data and size on the disk.
FileError FlushFile(FileHandle handle);
FileError CloseFile(FileHandle handle);
// Gives file the second name backup (never replacing one).
FileError LinkFile(const std::string& file, const std::string& backup);
// Puts from in the place of to in one step; to need not exist.
FileError RenameOver(const std::string& from, const std::string& to);
// Gives from the name to only while no file has it (Exists otherwise).
FileError RenameBeside(const std::string& from, const std::string& to);
enum class Replacing { Allowed, Never };
FileError RemoveFile(const std::string& path);
// Makes the renames inside a folder durable, where the system needs that.
void FlushFolder(const std::string& folder);

// A number that tells this process apart from others saving at the same time.
long long ProcessId();
// Whether a process of that number runs (or may run: one that cannot be
// looked at counts as running).
bool ProcessAlive(long long pid);

// While one lives, a request to end the program (SIGTERM, SIGINT, SIGHUP;
// Ctrl+C, Ctrl+Break or closing the console on Windows) waits; when it goes,
// a request that came meanwhile ends the program as it would have.
class InterruptionsHeld {
public:
    InterruptionsHeld();
    ~InterruptionsHeld();
    InterruptionsHeld(const InterruptionsHeld&) = delete;
    InterruptionsHeld& operator=(const InterruptionsHeld&) = delete;
};

// The regional decimal and thousands separators of the user's settings, when
// each is one character.
struct RegionalSeparators {
    std::optional<char> decimal, thousands;
};
RegionalSeparators ReadRegionalSeparators();

// Before anything else runs: a file-size limit makes a write fail ("Disk
// full") instead of ending the process halfway through a save.
void PrepareProcess();
// The command line's arguments after the program's name, as UTF-8.
std::vector<std::string> CommandLineArguments(int argc, char** argv);
// Standard output and error pass bytes unchanged (no CR LF translation).
void BinaryStandardStreams();

}  // namespace rq::sys
