#pragma once
// Reading the project's text files byte for byte.
#include <string>
#include <string_view>
#include <vector>

#include "model/controls.h"

namespace rq {

// The whole content of a file; a failure raises the file's I/O error.
std::string ReadFileBytes(const std::string& path);

// Splits a text file into its lines, as DVD-RB's tools read them: a line ends
// at LF or CR LF and the line end is not part of it; a last line without a
// line end counts; a CR not followed by LF is dropped; Ctrl-Z (26) as the first
// byte of a line ends the file, anywhere else it ends the line's text and the
// rest of that line is skipped. Every other byte, NUL included, is kept.
std::vector<std::string> SplitTextLines(std::string_view bytes);
// The same lines into a text buffer; most of them stay where they are in
// `bytes`, which the buffer keeps.
void SplitTextLinesInto(std::string bytes, TextList& out);

}  // namespace rq
