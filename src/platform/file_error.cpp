#include "platform/file_error.h"

#include <cerrno>

#include "model/errors.h"

namespace rq {

FileError FileError::FromErrno(int err)
{
    if (err == 0)
        return {};
    if (err == EEXIST)
        return {FileFault::Exists, err};
    switch (IoCodeFromErrno(err)) {
    case 2: return {FileFault::NotFound, err};
    case 3: return {FileFault::InvalidName, err};
    case 4: return {FileFault::TooManyOpenFiles, err};
    case 5: return {FileFault::AccessDenied, err};
    case 101: return {FileFault::DiskFull, err};
    default: return {FileFault::Other, err};
    }
}

std::string FileError::Text() const
{
    switch (fault_) {
    case FileFault::NotFound: return IoErrorText(2);
    case FileFault::InvalidName: return IoErrorText(3);
    case FileFault::TooManyOpenFiles: return IoErrorText(4);
    case FileFault::AccessDenied: return IoErrorText(5);
    case FileFault::DiskFull: return IoErrorText(101);
    case FileFault::NotAFile: return "Not a regular file";
    case FileFault::TooLarge: return "File larger than 1 GB";
    default:
        // A code without a counterpart keeps its own number: "I/O error 5" is
        // the system's, never mistaken for the access-denied code of that value.
        return UnmappedIoErrorText(code_);
    }
}

void FileError::Raise(const std::string& file) const { throw AppError(Text(), file); }

}  // namespace rq
