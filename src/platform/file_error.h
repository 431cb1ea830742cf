#pragma once
// What went wrong in a file operation: the kind of fault, which decides what
// the user is told and what a save does next, and the system's own code.
// Each system maps its codes onto these kinds once, in its platform file.
#include <string>

namespace rq {

enum class FileFault {
    None,
    NotFound,          // "File not found"
    InvalidName,       // "Invalid filename": a folder where a file belongs, a name the system refuses
    TooManyOpenFiles,  // "Too many open files"
    AccessDenied,      // "File access denied": permissions, read-only, locked by another program
    DiskFull,          // "Disk full": no space, over quota, over the file-size limit
    Exists,            // the name is taken (a new file or a backup never replaces one)
    LinksUnsupported,  // the file system gives a file no second name (FAT, exFAT, some shares)
    NotAFile,          // "Not a regular file": a pipe, device or socket where a project file belongs
    TooLarge,          // "File larger than 1 GB": far beyond any project, refused unread
    Other,             // "I/O error <code>"
};

class FileError {
public:
    FileError() = default;  // no error
    FileError(FileFault fault, int code) : fault_(fault), code_(code) {}
    // From the C library's error numbers, which every system's runtime shares.
    static FileError FromErrno(int err);

    explicit operator bool() const { return fault_ != FileFault::None; }
    FileFault Fault() const { return fault_; }
    int Code() const { return code_; }
    // The error box's text.
    std::string Text() const;
    // Throws the error's text, naming the file it concerns.
    [[noreturn]] void Raise(const std::string& file) const;

private:
    FileFault fault_ = FileFault::None;
    int code_ = 0;
};

}  // namespace rq
