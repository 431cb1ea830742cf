#pragma once
// The key test of DVD-RB's text files: a line starts with a key when its first
// characters, lower-cased (A to Z only), equal the key. Nothing is trimmed, so
// a blank before the key or around its "=" makes the line no key line.
#include <array>
#include <string>
#include <string_view>

#include "model/ascii_words.h"
#include "model/project_state.h"

namespace rq {

inline bool StartsWithKey(std::string_view line, std::string_view key)
{
    return line.size() >= key.size() && EqualsLowered(line.substr(0, key.size()), key);
}

// The ECL's keys and the item-table column each fills: the reader, the
// rewrite and the error places all take them from here.
struct EclKey {
    std::string_view key;  // with its "="
    int column;
};

inline constexpr EclKey kEclKeys[] = {
    {"title=", kColTitle},           {"vbr_brate_avg=", kColBitrate}, {"vbr_pass=", kColPass},
    {"half_width=", kColHalfWidth},  {"encode_first=", kColFirstEncode}, {"encode_last=", kColLastEncode},
    {"frame_rate_idx=", kColFrameRate},
};

// A key is lower-case, as the line's letters are compared after lower-casing,
// and ends at its only "=".
constexpr bool EclKeysWellFormed()
{
    for (const EclKey& k : kEclKeys) {
        if (k.key.find('=') != k.key.size() - 1 || k.key[0] < 'a' || k.key[0] > 'z')
            return false;
        int sameLetter = 0;
        for (const EclKey& other : kEclKeys)
            sameLetter += other.key[0] == k.key[0];
        if (sameLetter > 2)
            return false;
        for (const char c : k.key)
            if (c >= 'A' && c <= 'Z')
                return false;
    }
    return true;
}
static_assert(EclKeysWellFormed(), "a line starts with one key at most");

// The keys by their first letter: at most two share one.
struct KeysOfLetter {
    signed char key[2] = {-1, -1};
};
inline constexpr auto kEclKeysByLetter = [] {
    std::array<KeysOfLetter, 26> table{};
    for (size_t i = 0; i < std::size(kEclKeys); ++i) {
        KeysOfLetter& of = table[static_cast<size_t>(kEclKeys[i].key[0] - 'a')];
        of.key[of.key[0] < 0 ? 0 : 1] = static_cast<signed char>(i);
    }
    return table;
}();

// The key a line starts with, if any. A key ends at its "=" and holds no
// other: a line can start with one key at most, and only a key of its first
// letter.
inline const EclKey* KeyOfLine(std::string_view line)
{
    if (line.empty())
        return nullptr;
    const unsigned letter = static_cast<unsigned>(static_cast<unsigned char>(line[0]) | 0x20) - 'a';
    if (letter >= 26)
        return nullptr;
    for (const signed char i : kEclKeysByLetter[letter].key) {
        if (i < 0)
            break;
        if (StartsWithKey(line, kEclKeys[i].key))
            return &kEclKeys[i];
    }
    return nullptr;
}

// The key that fills a column of the item table, without its "="; empty for
// the columns no ECL key fills.
inline std::string_view EclKeyName(int column)
{
    for (const EclKey& k : kEclKeys)
        if (k.column == column)
            return k.key.substr(0, k.key.size() - 1);
    return {};
}

// The section name of an INF line that contains "[": the line without its
// first and last character, lower-cased; empty for a line of one or two.
inline std::string SectionName(std::string_view line)
{
    return line.size() <= 2 ? std::string() : LowerAscii(std::string(line.substr(1, line.size() - 2)));
}
// The same into `name`, reusing its room; returns whether the name changed.
inline bool AssignSectionName(std::string& name, std::string_view line)
{
    return AssignLowerAscii(name, line.size() <= 2 ? std::string_view() : line.substr(1, line.size() - 2));
}

}  // namespace rq
