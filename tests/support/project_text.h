#pragma once
// The text of small DVD-RB projects, for the tests of every kind (GoogleTest
// and Qt Test alike): needs nothing but the program's number formatting.
#include <initializer_list>
#include <string>

#include "model/numbers.h"

namespace rqtest {

// Lines joined with CR LF after each.
inline std::string Crlf(std::initializer_list<std::string> lines)
{
    std::string out;
    for (const std::string& l : lines)
        out += l + "\r\n";
    return out;
}

inline std::string EclItem(const std::string& title, const std::string& bitrate, int first, int last,
                           const std::string& rateIdx = "3")
{
    return Crlf({"[item]", "title=" + title, "frame_rate_idx=" + rateIdx, "encode_first=" + rq::FormatInteger(first),
                 "encode_last=" + rq::FormatInteger(last), "vbr_pass=2", "vbr_brate_avg=" + bitrate, "half_width=0"});
}

inline std::string InfSection(const std::string& title, const std::string& reduction)
{
    return Crlf({"[" + title + "]", "reduction=" + reduction});
}

}  // namespace rqtest
