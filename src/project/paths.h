#pragma once
// Paths of a project's files: the folder and the name (cut at either
// separator the system has), a changed extension, and the spelling on disk.
#include <string>

namespace rq {

// Everything up to and including the last folder separator; empty for a bare name.
std::string FolderOf(const std::string& path);
// The part after the last folder separator.
std::string FileNameOf(const std::string& path);
// Replaces the extension: the part from the last "." after the last "/", "\"
// and ":"; appends the new extension when the path has none.
std::string ChangeFileExt(const std::string& path, const std::string& ext);
// The file to open for a derived name: the name itself when it exists, else
// the file in the same folder whose name matches it case-insensitively (the
// first in byte order when there are several), else the name unchanged. Where
// the file system ignores case (Windows), always the spelling on disk.
std::string FindFileIgnoringCase(const std::string& path);
// A file (not a folder) is there under this name.
bool FileExists(const std::string& path);

}  // namespace rq
