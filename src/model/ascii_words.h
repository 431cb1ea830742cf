#pragma once
// Letters A to Z lower-cased eight or four characters at a time: the key
// tests and titles of the project files, where a character at a time was
// most of the cost of reading a line.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace rq {

namespace ascii {

inline std::uint64_t Load8(const char* p)
{
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}
inline std::uint32_t Load4(const char* p)
{
    std::uint32_t w;
    std::memcpy(&w, p, 4);
    return w;
}
// Eight or four characters at once, A to Z lower-cased: a byte's high bit
// marks A to Z after two additions that cannot carry into the next byte.
template <typename Word>
inline Word LowerWord(Word w)
{
    constexpr Word ones = static_cast<Word>(~Word(0)) / 0xFF;
    constexpr Word high = ones * 0x80;
    const Word seven = w & ~high;
    const Word fromA = seven + ones * (0x80 - 'A');
    const Word pastZ = seven + ones * (0x80 - 'Z' - 1);
    return w | ((fromA & ~pastZ & ~w & high) >> 2);
}

// Whether a word of the line, lower-cased, equals the key's word: most lines
// are written in lower case, so the word itself is compared first.
template <typename Word>
inline bool SameLowered(Word line, Word key)
{
    if (line == key)
        return true;
    // Letters of two cases differ in one bit only: any other difference is final.
    constexpr Word caseBits = static_cast<Word>(~Word(0)) / 0xFF * 0x20;
    return ((line ^ key) & ~caseBits) == 0 && LowerWord(line) == key;
}

}  // namespace ascii

// Copies n characters from `from` to `to`, A to Z lower-cased; the two may be
// one and the same place.
inline void LowerCopy(char* to, const char* from, size_t n)
{
    if (n >= 8) {
        // The last word overlaps the one before; lower-casing twice changes nothing.
        for (size_t i = 0; i + 8 < n; i += 8) {
            const std::uint64_t w = ascii::LowerWord(ascii::Load8(from + i));
            std::memcpy(to + i, &w, 8);
        }
        const std::uint64_t w = ascii::LowerWord(ascii::Load8(from + n - 8));
        std::memcpy(to + n - 8, &w, 8);
        return;
    }
    for (size_t i = 0; i < n; ++i)
        to[i] = from[i] >= 'A' && from[i] <= 'Z' ? static_cast<char>(from[i] - 'A' + 'a') : from[i];
}

// Lower-cases A to Z in place.
inline void LowerInPlace(char* p, size_t n) { LowerCopy(p, p, n); }

// Whether `text`, lower-cased, equals `lower`, a text without A to Z.
inline bool EqualsLowered(std::string_view text, std::string_view lower)
{
    const size_t n = lower.size();
    if (text.size() != n)
        return false;
    const char* a = text.data();
    const char* b = lower.data();
    if (n >= 8) {
        for (size_t i = 0; i + 8 < n; i += 8)
            if (!ascii::SameLowered(ascii::Load8(a + i), ascii::Load8(b + i)))
                return false;
        return ascii::SameLowered(ascii::Load8(a + n - 8), ascii::Load8(b + n - 8));
    }
    if (n >= 4)
        return ascii::SameLowered(ascii::Load4(a), ascii::Load4(b)) &&
               ascii::SameLowered(ascii::Load4(a + n - 4), ascii::Load4(b + n - 4));
    for (size_t i = 0; i < n; ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != b[i])
            return false;
    }
    return true;
}

// Puts `text`, lower-cased as LowerAscii does, into `out`, reusing its room;
// returns whether `out` changed.
inline bool AssignLowerAscii(std::string& out, std::string_view text)
{
    if (EqualsLowered(text, out))
        return false;
    out.resize(text.size());
    LowerCopy(out.data(), text.data(), text.size());
    return true;
}

}  // namespace rq
