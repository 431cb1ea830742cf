// Number text: whatever parses formats and parses back to itself within 15
// significant digits, and nothing is accepted that the strict rules refuse.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/errors.h"
#include "model/numbers.h"

namespace {

bool OnlyNumberCharacters(const std::string& t, bool integer)
{
    for (char c : t) {
        const bool ok = (c >= '0' && c <= '9') || c == ' ' || c == '+' || c == '-' ||
                        (integer ? (c == '$' || c == 'x' || c == 'X' || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))
                                 : (c == '.' || c == 'e' || c == 'E'));
        if (!ok)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    rq::Extended v = 0;
    if (rq::TryParseReal(text, v)) {
        if (!OnlyNumberCharacters(text, false) || !std::isfinite(v))
            std::abort();
        const std::string once = rq::FormatGeneral(v);
        const rq::Extended back = rq::ParseReal(once);
        if (rq::FormatGeneral(back) != once)
            std::abort();
        if (v != 0 && std::fabs((back - v) / v) > 1e-14L)
            std::abort();
        for (const char* f : {"%7.0n", "%9.1f %", "%10.2f", "%14.1f", "%15.0n"})
            (void)rq::FormatFloat(f, v);
    }
    std::int32_t i = 0;
    if (rq::TryParseInteger(text, i) && !OnlyNumberCharacters(text, true))
        std::abort();
    // Arbitrary format strings never read or write out of bounds.
    (void)rq::FormatFloat(text, 1234.5L);
    return 0;
}
