#pragma once
// Reading the project's text files byte for byte, and the I/O error texts of
// the project's file operations.
#include <string>
#include <string_view>
#include <vector>

namespace rq {

// The whole content of a file; a failure raises the file's I/O error.
std::string ReadFileBytes(const std::string& path);

// Splits a text file into its lines, as DVD-RB's tools read them: a line ends
// at LF or CR LF and the line end is not part of it; a last line without a
// line end counts; a CR not followed by LF is dropped; Ctrl-Z (26) as the first
// byte of a line ends the file, anywhere else it ends the line's text and the
// rest of that line is skipped. Every other byte, NUL included, is kept.
std::vector<std::string> SplitTextLines(std::string_view bytes);

// The error code an operating-system error is reported with. The named codes
// (2, 3, 4, 5, 100, 101, 106) stand for their faults only: an errno without a
// named text whose number happens to be one of them (EIO is 5, EINTR 4,
// ENETUNREACH 101 ...) is reported as 1000 + errno, so EIO reads
// "I/O error 1005" and never "File access denied".
int FileIoCode(int err);
[[noreturn]] void ThrowFileError(int err);

}  // namespace rq
