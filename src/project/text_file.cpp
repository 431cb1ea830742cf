#include "project/text_file.h"

#include <cstring>

#include "platform/system.h"

namespace rq {

namespace {

constexpr char kCtrlZ = 26;

}  // namespace

std::string ReadFileBytes(const std::string& path)
{
    std::string bytes;
    if (const FileError err = sys::ReadWholeFile(path, bytes))
        err.Raise(path);
    return bytes;
}

std::vector<std::string> SplitTextLines(std::string_view bytes)
{
    TextList lines;
    SplitTextLinesInto(std::string(bytes), lines);
    return lines.Lines();
}

void SplitTextLinesInto(std::string bytes, TextList& out)
{
    std::vector<TextList::Span> spans;
    spans.reserve(bytes.size() / 16 + 1);
    std::string extra;  // lines whose text differs from their bytes
    std::vector<size_t> moved;  // which spans point into `extra`
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        if (bytes[i] == kCtrlZ)
            break;  // end of file
        const char* start = bytes.data() + i;
        const void* lf = std::memchr(start, '\n', n - i);
        const size_t end = lf != nullptr ? static_cast<size_t>(static_cast<const char*>(lf) - bytes.data()) : n;
        size_t stop = end;
        if (stop > i && bytes[stop - 1] == '\r' && stop < n)
            --stop;
        if (std::memchr(start, '\r', stop - i) == nullptr && std::memchr(start, kCtrlZ, stop - i) == nullptr) {
            spans.push_back(TextList::Span{i, stop - i});
        } else {
            // A lone CR is dropped; a Ctrl-Z ends the line's text.
            const size_t at = extra.size();
            for (size_t j = i; j < stop; ++j) {
                const char c = bytes[j];
                if (c == kCtrlZ)
                    break;
                if (c != '\r')
                    extra += c;
            }
            moved.push_back(spans.size());
            spans.push_back(TextList::Span{at, extra.size() - at});
        }
        i = end < n ? end + 1 : n;
    }
    const size_t base = bytes.size();
    bytes += extra;
    for (const size_t k : moved)
        spans[k].offset += base;
    out.Adopt(std::move(bytes), std::move(spans));
}

}  // namespace rq
