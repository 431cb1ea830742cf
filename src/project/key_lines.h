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

// The section name of an INF line that contains "[": the line without its
// first and last character, lower-cased; empty for a line of one or two.
inline std::string SectionName(std::string_view line)
{
    return line.size() <= 2 ? std::string() : LowerAscii(std::string(line.substr(1, line.size() - 2)));
}

}  // namespace rq
