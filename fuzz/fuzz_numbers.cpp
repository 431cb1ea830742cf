// Number text: whatever parses formats and parses back to itself within 15
// significant digits, and nothing is accepted that the strict rules refuse.
// A text with a comma is read under a regional setting whose decimal
// separator is the comma. The quick conversions give exactly what the exact
// ones give: the text read, and the same bytes taken as an extended value.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/errors.h"
#include "model/numbers.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

bool OnlyNumberCharacters(const std::string& t, bool integer, char decimal)
{
    for (char c : t) {
        const bool ok = (c >= '0' && c <= '9') || c == ' ' || c == '+' || c == '-' ||
                        (integer ? (c == '$' || c == 'x' || c == 'X' || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))
                                 : (c == decimal || c == 'e' || c == 'E'));
        if (!ok)
            return false;
    }
    return true;
}

// Eight bytes of significand and two of exponent: every finite extended value
// from the smallest subnormal to the largest, built exactly.
void CompareDecimalConversions(const uint8_t* data)
{
    std::uint64_t mantissa = 0;
    std::memcpy(&mantissa, data, sizeof mantissa);
    const int exponent = static_cast<int>((static_cast<unsigned>(data[8]) | (static_cast<unsigned>(data[9]) << 8)) %
                                          32830u) - 16445;
    const rq::Extended v = std::ldexp(static_cast<rq::Extended>(mantissa), exponent);
    if (!std::isfinite(v))
        return;
    const rq::detail::Decimal quick = rq::detail::ToDecimal18(v);
    const rq::detail::Decimal exact = rq::detail::ExactDecimal18(v);
    Check(quick.negative == exact.negative && quick.digits == exact.digits && quick.exponent == exact.exponent);
    Check(rq::FormatGeneral(v) == rq::detail::FormatGeneralExact(v, rq::NumberSeparators()));
    (void)rq::FormatFloat("%15.2n", v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool comma = text.find(',') != std::string::npos;
    rq::SetNumberSeparators(comma ? rq::Separators{',', '.'} : rq::Separators{'.', ','});
    const char decimal = comma ? ',' : '.';

    rq::Extended v = 0;
    rq::Extended exact = 0;
    const bool read = rq::TryParseReal(text, v);
    Check(read == rq::detail::TryParseRealExact(text, exact, rq::NumberSeparators()) &&
          (!read || std::memcmp(&v, &exact, 10) == 0));
    if (read) {
        Check(OnlyNumberCharacters(text, false, decimal) && std::isfinite(v));
        const std::string once = rq::FormatGeneral(v);
        const rq::Extended back = rq::ParseReal(once);
        Check(rq::FormatGeneral(back) == once);
        Check(v == 0 || std::fabs((back - v) / v) <= 1e-14L);
        for (const char* f : {"%7.0n", "%9.1f %", "%10.2f", "%14.1f", "%15.0n"})
            (void)rq::FormatFloat(f, v);
    }
    std::int32_t i = 0;
    if (rq::TryParseInteger(text, i)) {
        Check(OnlyNumberCharacters(text, true, decimal));
        Check(rq::ParseInteger(rq::FormatInteger(i)) == i);
    }
    // Arbitrary format strings never read or write out of bounds.
    (void)rq::FormatFloat(text, 1234.5L);
    if (size >= 10)
        CompareDecimalConversions(data);
    return 0;
}
