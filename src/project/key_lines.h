#pragma once
// The key test of DVD-RB's text files: a line starts with a key when its first
// characters, lower-cased (A to Z only), equal the key. Nothing is trimmed, so
// a blank before the key or around its "=" makes the line no key line.
#include <cstring>
#include <string>
#include <string_view>

#include "model/project_state.h"

namespace rq {

inline bool StartsWithKey(std::string_view line, std::string_view key)
{
    if (line.size() < key.size())
        return false;
    if (key.empty())
        return true;
    // Most key lines are written as the key is: one comparison of the block.
    if (line[0] == key[0] && std::memcmp(line.data(), key.data(), key.size()) == 0)
        return true;
    for (size_t i = 0; i < key.size(); ++i) {
        char c = line[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != key[i])
            return false;
    }
    return true;
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

// The longest key, "=" included.
inline constexpr size_t kLongestEclKey = 15;

constexpr bool EclKeysOfDistinctLengths()
{
    for (const EclKey& a : kEclKeys) {
        if (a.key.size() > kLongestEclKey || a.key.find('=') != a.key.size() - 1)
            return false;
        for (const EclKey& b : kEclKeys)
            if (&a != &b && a.key.size() == b.key.size())
                return false;
    }
    return true;
}
static_assert(EclKeysOfDistinctLengths(), "a key line is found by the place of its \"=\"");

// The key a line starts with, if any. A key ends at its "=" and holds no
// other, and no two keys are of one length: the line's first "=" names the
// only key the line can start with.
inline const EclKey* KeyOfLine(std::string_view line)
{
    const size_t eq = line.substr(0, kLongestEclKey).find('=');
    if (eq == std::string_view::npos)
        return nullptr;
    for (const EclKey& k : kEclKeys)
        if (k.key.size() == eq + 1)
            return StartsWithKey(line, k.key) ? &k : nullptr;
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
