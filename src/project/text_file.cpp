#include "project/text_file.h"

#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// The first LF, CR or Ctrl-Z at or after p, or end: sixteen bytes at a time
// where the processor allows, so a line costs a few instructions, not a few per byte.
const char* NextLineMark(const char* p, const char* end)
{
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i eof = _mm_set1_epi8(kCtrlZ);
    while (end - p >= 16) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(b, lf), _mm_cmpeq_epi8(b, cr)), _mm_cmpeq_epi8(b, eof));
        const int mask = _mm_movemask_epi8(hit);
        if (mask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    while (p != end && *p != '\n' && *p != '\r' && *p != kCtrlZ)
        ++p;
    return p;
}

// The lines found: those whose text differs from their bytes were written
// after the file's bytes.
void Finish(std::string bytes, std::string extra, const std::vector<size_t>& moved,
            std::vector<TextList::Span> spans, TextList& out)
{
    const size_t base = bytes.size();
    bytes += extra;
    for (const size_t k : moved)
        spans[k].offset += base;
    out.Adopt(std::move(bytes), std::move(spans));
}

}  // namespace

#if defined(__SSE2__)
namespace {

// Bit k set where byte k of the 64 at p is c.
std::uint64_t BytesEqual(const char* p, char c)
{
    const __m128i v = _mm_set1_epi8(c);
    std::uint64_t mask = 0;
    for (int k = 0; k < 4; ++k) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(b, v)))) << (16 * k);
    }
    return mask;
}

}  // namespace
#endif

void SplitTextLinesInto(std::string bytes, TextList& out)
{
    std::vector<TextList::Span> spans;
    spans.reserve(bytes.size() / 16 + 1);
    std::string extra;  // lines whose text differs from their bytes
    std::vector<size_t> moved;  // which spans point into `extra`
    const char* const data = bytes.data();
    const size_t n = bytes.size();
    size_t i = 0;
    // One line from i, by the general rules; false at the end of the file.
    const auto line = [&]() {
        if (data[i] == kCtrlZ)
            return false;  // end of file
        // A plain line ends at LF or CR LF with no other CR and no Ctrl-Z in it.
        const char* mark = NextLineMark(data + i, data + n);
        size_t at = static_cast<size_t>(mark - data);
        if (at == n || *mark == '\n' || (*mark == '\r' && at + 1 < n && data[at + 1] == '\n')) {
            spans.push_back(TextList::Span{i, at - i});
            i = at == n ? n : at + (*mark == '\n' ? 1 : 2);
            return true;
        }
        // A lone CR is dropped; a Ctrl-Z ends the line's text and the rest of
        // the line is skipped.
        const void* lf = std::memchr(data + i, '\n', n - i);
        const size_t end = lf != nullptr ? static_cast<size_t>(static_cast<const char*>(lf) - data) : n;
        size_t stop = end;
        if (stop > i && data[stop - 1] == '\r' && stop < n)
            --stop;
        const size_t from = extra.size();
        for (size_t j = i; j < stop; ++j) {
            const char c = data[j];
            if (c == kCtrlZ)
                break;
            if (c != '\r')
                extra += c;
        }
        moved.push_back(spans.size());
        spans.push_back(TextList::Span{from, extra.size() - from});
        i = end < n ? end + 1 : n;
        return true;
    };
#if defined(__SSE2__)
    // Sixty-four bytes at a time: where a block holds no Ctrl-Z and every CR
    // in it comes right before an LF, each of its LFs ends a plain line,
    // found from a bit mask without a guess per line. Any other block goes
    // line by line by the general rules.
    for (size_t pos = 0; n - pos > 64;) {
        const char* p = data + pos;
        const std::uint64_t lf = BytesEqual(p, '\n');
        const std::uint64_t cr = BytesEqual(p, '\r');
        const std::uint64_t crBeforeLf = (lf >> 1) | (static_cast<std::uint64_t>(p[64] == '\n') << 63);
        if ((cr & ~crBeforeLf) != 0 || BytesEqual(p, kCtrlZ) != 0) {
            const size_t blockEnd = pos + 64;
            while (i < blockEnd && i < n)
                if (!line())
                    return Finish(std::move(bytes), std::move(extra), moved, std::move(spans), out);
            pos = i;
            continue;
        }
        for (std::uint64_t m = lf; m != 0; m &= m - 1) {
            const size_t at = pos + static_cast<size_t>(__builtin_ctzll(m));
            const size_t length = at - i - (at > i && data[at - 1] == '\r' ? 1 : 0);
            spans.push_back(TextList::Span{i, length});
            i = at + 1;
        }
        pos += 64;
    }
#endif
    while (i < n)
        if (!line())
            break;
    Finish(std::move(bytes), std::move(extra), moved, std::move(spans), out);
}

}  // namespace rq
