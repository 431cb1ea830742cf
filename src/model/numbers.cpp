#include "model/numbers.h"

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cfloat>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "model/arith.h"
#include "model/errors.h"

namespace rq {

namespace {

Separators g_separators;

// Exact powers of ten for the quick conversions both ways: 10^n for n <= 27
// fits the 64-bit significand.
constexpr Extended kPow10[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
                               1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
                               1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

}  // namespace

namespace detail {

namespace {

// e with a = m x 2^e and 0.5 <= m < 1, for a normal positive a within the
// range of double: frexp's exponent, read from a's nearest double, which
// leaves the floating-point unit in eight bytes. (Reading the 80-bit format's
// exponent bytes from memory would wait for the store of all ten.) Rounding
// to the double can only carry a up to the next power of two.
int BinaryExponent(Extended a)
{
    const double d = static_cast<double>(a);
    const auto bits = std::bit_cast<std::uint64_t>(d);
    int e2 = static_cast<int>((bits >> 52) & 0x7ff) - 1022;
    if ((bits & ((std::uint64_t{1} << 52) - 1)) == 0 && a < d)
        --e2;
    return e2;
}

// The quick way to 18 digits for the usual magnitudes: one exact-enough
// scaling by a power of ten. It declines (returns false) whenever the scaled
// value lies so near a rounding boundary that the one rounding of the
// multiplication could matter; the caller then takes the exact way. On
// success, a = 0.n x 10^exponent with n of exactly 18 digits.
//
// The one rounding of the scaling moves the scaled value by at most 2^-5
// (half a unit in the last place below 2^60). A value whose fraction lies
// within 1/16 of a half may therefore belong on the other side of it: where
// `neighbour` is given, such a value is not declined but n is its rounding
// of the scaled value and *neighbour says where the other candidate lies
// (+1 or -1; 0 when n is certain). A caller that needs fewer digits can tell
// whether both candidates give the same.
bool QuickDigits18(Extended a, std::uint64_t& n, int& exponent, int* neighbour = nullptr)
{
    if (!(a >= 1e-4L && a < 1e15L))
        return false;
    int e10 = 0;  // decimal exponent of the first digit, a = 0.d1d2.. x 10^(e10+1)
    if (a < 1) {
        e10 = a >= 0.1L ? -1 : a >= 0.01L ? -2 : a >= 0.001L ? -3 : -4;
    } else {
        // The binary exponent gives the decimal one, or one less.
        const int e2 = BinaryExponent(a);
        e10 = ((e2 - 1) * 78913) >> 18;  // floor((e2 - 1) log10 2), exact for these exponents
        if (e10 < 14 && a >= kPow10[e10 + 1])
            ++e10;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int k = 17 - e10;  // scale so that 18 digits stand before the point
        if (k < 0 || k > 27)
            return false;
        const Extended scaled = a * kPow10[k];
        Extended whole = WholePart(scaled);
        const Extended frac = scaled - whole;
        const bool nearHalf = frac > 0.4375L && frac < 0.5625L;
        if (nearHalf && !neighbour)
            return false;
        const bool up = frac >= 0.5L;
        if (up)
            whole += 1;
        if (whole >= 1e18L) {
            if (attempt == 0 && whole > 1e18L) {
                ++e10;
                continue;
            }
            return false;
        }
        if (whole < 1e17L) {
            if (attempt == 0) {
                --e10;
                continue;
            }
            return false;
        }
        // A whole number below 2^63 converts exactly in any rounding mode,
        // without the switch of mode that a cut would cost.
        n = static_cast<std::uint64_t>(__builtin_llrintl(whole));
        exponent = e10 + 1;
        if (neighbour)
            *neighbour = !nearHalf ? 0 : up ? -1 : 1;
        return true;
    }
    return false;
}

bool QuickDecimal18(Extended a, Decimal& d)
{
    std::uint64_t n = 0;
    if (!QuickDigits18(a, n, d.exponent))
        return false;
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, n);
    d.digits.assign(buf, res.ptr);
    return true;
}

}  // namespace

Decimal ToDecimal18(Extended v)
{
    Decimal d;
    if (v == 0 || !std::isfinite(v))
        return d;
    d.negative = std::signbit(v);
    if (QuickDecimal18(std::fabs(v), d))
        return d;
    return ExactDecimal18(v);
}

// The exact way: the correctly rounded 18-digit text of the value.
Decimal ExactDecimal18(Extended v)
{
    Decimal d;
    if (v == 0 || !std::isfinite(v))
        return d;
    d.negative = std::signbit(v);
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 17);
    std::string_view s(buf, static_cast<size_t>(res.ptr - buf));
    // s = "d.ddddddddddddddddde+XX"
    const size_t e = s.find('e');
    for (size_t i = 0; i < e; ++i)
        if (s[i] != '.')
            d.digits.push_back(s[i]);
    int exp10 = 0;
    std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), exp10);
    d.exponent = exp10 + 1;
    return d;
}

}  // namespace detail

namespace {

using detail::Decimal;
using detail::ToDecimal18;

// Keep n significant digits (n may be <= 0), rounding halves away from zero.
void RoundDigits(Decimal& d, int n)
{
    if (d.digits.empty())
        return;
    if (n <= 0) {
        const bool up = (n == 0) && d.digits[0] >= '5';
        if (up) {
            d.digits.clear();
            d.digits.push_back('1');
            d.exponent += 1;
        } else {
            d.digits.clear();
        }
        return;
    }
    if (static_cast<size_t>(n) >= d.digits.size())
        return;
    const bool up = d.digits[static_cast<size_t>(n)] >= '5';
    d.digits.resize(static_cast<size_t>(n));
    if (up) {
        int i = n - 1;
        while (i >= 0 && d.digits[static_cast<size_t>(i)] == '9') {
            d.digits[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            d.digits.push_front('1');
            d.digits.pop_back();
            d.exponent += 1;
        } else {
            d.digits[static_cast<size_t>(i)] += 1;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
}

std::string GroupThousands(const std::string& intPart, char sep)
{
    std::string out;
    const size_t n = intPart.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += sep;
        out += intPart[i];
    }
    return out;
}

// Fixed text of a rounded decimal with exactly `decimals` decimals.
std::string FixedText(const Decimal& d, int decimals, bool grouped, const Separators& sep)
{
    std::string intPart;
    std::string frac;
    if (d.digits.empty()) {
        intPart = "0";
    } else if (d.exponent <= 0) {
        intPart = "0";
        frac.assign(static_cast<size_t>(-d.exponent), '0');
        frac += d.digits.view();
    } else {
        const size_t e = static_cast<size_t>(d.exponent);
        if (d.digits.size() <= e) {
            intPart = std::string(d.digits.view()) + std::string(e - d.digits.size(), '0');
        } else {
            intPart = std::string(d.digits.view().substr(0, e));
            frac = std::string(d.digits.view().substr(e));
        }
    }
    if (frac.size() < static_cast<size_t>(decimals))
        frac.append(static_cast<size_t>(decimals) - frac.size(), '0');
    frac.resize(static_cast<size_t>(decimals));
    std::string out;
    if (d.negative && !d.digits.empty())
        out += '-';
    out += grouped ? GroupThousands(intPart, sep.thousands) : intPart;
    if (decimals > 0) {
        out += sep.decimal;
        out += frac;
    }
    return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

Separators SeparatorsFrom(std::optional<char> decimal, std::optional<char> thousands)
{
    Separators s;
    if (decimal)
        s.decimal = *decimal;
    if (thousands)
        s.thousands = *thousands;
    if (s.thousands == s.decimal)
        s.thousands = (s.decimal == ',') ? '.' : ',';
    return s;
}

const Separators& NumberSeparators() { return g_separators; }

void SetNumberSeparators(Separators s) { g_separators = s; }

std::string FormatInteger(std::int64_t v)
{
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

namespace {

// Writes `digits` (no leading or trailing zeros) worth 0.digits x 10^exponent
// in fixed notation, for -3 <= exponent <= 15.
size_t WriteFixedGeneral(char* out, bool negative, std::string_view digits, int exponent, char sep)
{
    char* p = out;
    if (negative)
        *p++ = '-';
    if (exponent <= 0) {
        *p++ = '0';
        *p++ = sep;
        for (int i = exponent; i < 0; ++i)
            *p++ = '0';
        std::memcpy(p, digits.data(), digits.size());
        p += digits.size();
    } else {
        const size_t e = static_cast<size_t>(exponent);
        if (digits.size() <= e) {
            std::memcpy(p, digits.data(), digits.size());
            p += digits.size();
            for (size_t i = digits.size(); i < e; ++i)
                *p++ = '0';
        } else {
            std::memcpy(p, digits.data(), e);
            p += e;
            *p++ = sep;
            std::memcpy(p, digits.data() + e, digits.size() - e);
            p += digits.size() - e;
        }
    }
    return static_cast<size_t>(p - out);
}

// 10^0 .. 10^15 as whole numbers.
constexpr std::uint64_t kWholePow10[] = {1ULL,
                                         10ULL,
                                         100ULL,
                                         1000ULL,
                                         10000ULL,
                                         100000ULL,
                                         1000000ULL,
                                         10000000ULL,
                                         100000000ULL,
                                         1000000000ULL,
                                         10000000000ULL,
                                         100000000000ULL,
                                         1000000000000ULL,
                                         10000000000000ULL,
                                         100000000000000ULL,
                                         1000000000000000ULL};

// Writes the last `count` decimal digits of x, leading zeros included.
void WriteDigits(std::uint32_t x, char* out, int count)
{
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    int i = count;
    for (; i >= 2; i -= 2) {
        std::memcpy(out + i - 2, kPairs + 2 * (x % 100), 2);
        x /= 100;
    }
    if (i == 1)
        out[0] = static_cast<char>('0' + x % 10);
}

// The general format of the values the tables mostly hold, without the digit
// string of the exact way: whole numbers below 10^15, and values whose 18
// digits the quick scaling finds. Both give the very text of the exact way:
// a whole number below 10^15 has at most 15 digits, so neither rounding
// changes it; otherwise the 18 digits are rounded to 15 as RoundDigits does
// (halves away from zero on the 16th digit), in integer arithmetic. Declines
// (returns 0) for everything else, which then takes the exact way.
//
// textValue, when given, receives what the text written reads back as: the
// very computation of the reader's quick way (its digits as a whole number,
// divided once by the power of ten of its decimals), which every text written
// here takes, having at most 19 digits, one separator and nothing else.
size_t QuickGeneral(Extended v, char sep, char* out, Extended* textValue = nullptr)
{
    const Extended a = std::fabs(v);
    if (!(a < 1e15L))
        return 0;
    if (a == 0) {
        *out = '0';
        if (textValue)
            *textValue = 0;
        return 1;
    }
    char digits[24];
    const bool negative = v < 0;  // v is not zero
    if (a >= 1 && WholePart(a) == a) {
        // Only a whole a is written so; below 2^63 it converts exactly in any
        // rounding mode, without a switch of mode.
        const long long whole = __builtin_llrintl(a);
        char* p = out;
        if (negative)
            *p++ = '-';
        if (textValue)
            *textValue = negative ? -a : a;
        return static_cast<size_t>(std::to_chars(p, out + 24, whole).ptr - out);
    }
    std::uint64_t n = 0;
    int exponent = 0;
    int neighbour = 0;
    if (!detail::QuickDigits18(a, n, exponent, &neighbour))
        return 0;
    // The 18 digits rounded to 15 (halves up on the 16th digit).
    const auto round15 = [](std::uint64_t x) { return x / 1000 + (x % 1000 >= 500 ? 1 : 0); };
    std::uint64_t q = round15(n);
    if (neighbour != 0) {
        // The value lies so near a half of its 18th digit that the other
        // rounding may be the true one: the text stands only if both give it.
        const std::uint64_t other = n + static_cast<std::uint64_t>(static_cast<std::int64_t>(neighbour));
        if (other < 100000000000000000ULL || other >= 1000000000000000000ULL || round15(other) != q)
            return 0;
    }
    if (q == 1000000000000000ULL) {
        q = 100000000000000ULL;
        ++exponent;
        if (exponent > 15)
            return 0;  // 10^15 is written with an exponent
    }
    // q has exactly 15 digits: seven and eight, each written two at a time
    // from the right; then the trailing zeros are dropped.
    WriteDigits(static_cast<std::uint32_t>(q / 100000000), digits, 7);
    WriteDigits(static_cast<std::uint32_t>(q % 100000000), digits + 7, 8);
    size_t length = 15;
    while (digits[length - 1] == '0') {
        --length;
        q /= 10;
    }
    if (textValue) {
        // q now holds the digits written; those after the separator are its decimals.
        const int decimals = static_cast<int>(length) - exponent;
        Extended read = static_cast<Extended>(decimals > 0 ? q : q * kWholePow10[-decimals]);
        if (decimals > 0)
            read /= kPow10[decimals];
        *textValue = negative ? -read : read;
    }
    return WriteFixedGeneral(out, negative, std::string_view(digits, length), exponent, sep);
}

}  // namespace

std::string FormatGeneral(Extended v, const Separators& seps)
{
    char buf[kGeneralTextMax];
    const size_t n = QuickGeneral(v, seps.decimal, buf);
    if (n > 0)
        return std::string(buf, n);
    return detail::FormatGeneralExact(v, seps);
}

std::string_view FormatGeneralTo(char (&buf)[kGeneralTextMax], Extended v, const Separators& seps,
                                 Extended* textValue)
{
    size_t n = QuickGeneral(v, seps.decimal, buf, textValue);
    if (n == 0) {
        // At most a sign, 15 digits, a separator and an exponent of five.
        const std::string exact = detail::FormatGeneralExact(v, seps);
        n = std::min(exact.size(), sizeof buf);
        std::memcpy(buf, exact.data(), n);
        if (textValue && !TryParseReal(std::string_view(buf, n), *textValue, seps))
            *textValue = std::numeric_limits<Extended>::quiet_NaN();  // a text that reads as no number
    }
    return std::string_view(buf, n);
}

std::string detail::FormatGeneralExact(Extended v, const Separators& seps)
{
    if (std::isnan(v))
        return "NAN";
    if (std::isinf(v))
        return v < 0 ? "-INF" : "INF";
    Decimal d = ToDecimal18(v);
    RoundDigits(d, 15);
    if (d.digits.empty())
        return "0";
    const char sep = seps.decimal;
    std::string out;
    if (d.negative)
        out += '-';
    if (d.exponent >= -3 && d.exponent <= 15) {
        if (d.exponent <= 0) {
            out += '0';
            out += sep;
            out.append(static_cast<size_t>(-d.exponent), '0');
            out += d.digits.view();
        } else {
            const size_t e = static_cast<size_t>(d.exponent);
            if (d.digits.size() <= e) {
                out += d.digits.view();
                out.append(e - d.digits.size(), '0');
            } else {
                out.append(d.digits.view().substr(0, e));
                out += sep;
                out.append(d.digits.view().substr(e));
            }
        }
    } else {
        out += d.digits[0];
        if (d.digits.size() > 1) {
            out += sep;
            out.append(d.digits.view().substr(1));
        }
        out += 'E';
        out += FormatInteger(d.exponent - 1);
    }
    return out;
}

std::string FormatFloat(std::string_view format, Extended v, const Separators& seps)
{
    std::string out;
    size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 == format.size())
            break;  // a lone "%" at the end writes nothing
        if (format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        size_t j = i + 1;
        int width = 0;
        // Widths and decimals are bounded: a format never asks for a text of
        // unbounded size.
        while (j < format.size() && IsDigit(format[j]))
            width = std::min(width * 10 + (format[j++] - '0'), 4096);
        int decimals = 2;
        if (j < format.size() && format[j] == '.') {
            ++j;
            decimals = 0;
            while (j < format.size() && IsDigit(format[j]))
                decimals = std::min(decimals * 10 + (format[j++] - '0'), 18);
        }
        if (j >= format.size())
            break;
        const char kind = format[j];
        std::string text;
        if (!std::isfinite(v)) {
            text = FormatGeneral(v, seps);
        } else {
            Decimal d = ToDecimal18(v);
            if (d.exponent > 18) {
                text = FormatGeneral(v, seps);  // too many integer digits for a fixed text
            } else {
                RoundDigits(d, d.exponent + decimals);
                text = FixedText(d, decimals, kind == 'n', seps);
            }
        }
        if (text.size() < static_cast<size_t>(width))
            out.append(static_cast<size_t>(width) - text.size(), ' ');
        out += text;
        i = j + 1;
    }
    return out;
}

namespace {

// The general conversion. With `quick`, up to 19 significant digits and a
// power of ten up to 10^27 take one correctly rounded multiplication or
// division; without it every text takes the exact conversion.
bool ParseRealText(std::string_view text, Extended& out, const Separators& seps, bool quick)
{
    const char sep = seps.decimal;
    size_t b = 0;
    size_t e = text.size();
    while (b < e && text[b] == ' ')
        ++b;
    while (e > b && text[e - 1] == ' ')
        --e;
    size_t i = b;
    bool negative = false;
    if (i < e && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // One scan checks the form and gathers the significant digits.
    const size_t mantStart = i;
    size_t mantDigits = 0;
    bool seenSep = false;
    long long intDigits = 0;  // significant digits before the separator
    bool leading = true;
    std::uint64_t mant = 0;
    int sig = 0;
    int fracDigits = 0;
    for (; i < e; ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            ++mantDigits;
            if (seenSep)
                ++fracDigits;
            if (leading && c == '0')
                continue;
            leading = false;
            if (!seenSep)
                ++intDigits;
            if (++sig <= 19)
                mant = mant * 10 + static_cast<std::uint64_t>(c - '0');
        } else if (c == sep && !seenSep) {
            seenSep = true;
        } else {
            break;
        }
    }
    if (mantDigits == 0)
        return false;
    const size_t mantEnd = i;
    long long exp10 = 0;
    if (i < e && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negExp = false;
        if (i < e && (text[i] == '+' || text[i] == '-')) {
            negExp = text[i] == '-';
            ++i;
        }
        size_t expDigits = 0;
        for (; i < e && IsDigit(text[i]); ++i) {
            ++expDigits;
            if (exp10 < 100000)
                exp10 = exp10 * 10 + (text[i] - '0');
        }
        if (expDigits == 0)
            return false;
        if (negExp)
            exp10 = -exp10;
    }
    if (i != e)
        return false;

    // Up to 19 significant digits and a power of ten up to 10^27 convert with
    // one correctly rounded multiplication or division: both are exact in the
    // 64-bit significand.
    const long long scale = exp10 - fracDigits;
    if (quick && sig <= 19 && scale >= -27 && scale <= 27) {
        Extended v = static_cast<Extended>(mant);
        v = scale >= 0 ? v * kPow10[scale] : v / kPow10[-scale];
        out = negative ? -v : v;
        return true;
    }

    // Otherwise the exact conversion, from the text in C form.
    std::string canon;
    canon.reserve(e - b + 24);
    if (negative)
        canon += '-';
    for (size_t j = mantStart; j < mantEnd; ++j)
        canon += text[j] == sep ? '.' : text[j];
    canon += 'e';
    canon += FormatInteger(exp10);
    Extended v = 0;
#if defined(_WIN32)
    // mingw-w64's from_chars reads a long double only to double precision;
    // its strtold is exact, and the text here is in C form.
    errno = 0;
    char* end = nullptr;
    v = std::strtold(canon.c_str(), &end);
    if (end != canon.data() + canon.size())
        return false;
    const bool outOfRange = errno == ERANGE;
#else
    const auto res = std::from_chars(canon.data(), canon.data() + canon.size(), v);
    if (res.ptr != canon.data() + canon.size())
        return false;
    if (res.ec != std::errc() && res.ec != std::errc::result_out_of_range)
        return false;
    const bool outOfRange = res.ec == std::errc::result_out_of_range;
#endif
    if (outOfRange) {
        if (leading || intDigits + exp10 < 0) {
            v = 0;  // underflow reads as zero
        } else {
            return false;  // too large for any extended value
        }
    }
    if (!std::isfinite(v))
        return false;
    out = v;
    return true;
}

// Eight digits at once where the processor reads little-endian words: the
// value of eight bytes if all are digits. A byte is a digit when adding 0x46
// leaves it below 0x80 (it is at most '9') and subtracting 0x30 does too (it
// is at least '0'); then the digits are paired, the pairs paired, and the
// quads paired by three multiplications.
inline bool EightDigits(const char* p, std::uint64_t& value)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    std::uint64_t v = 0;
    std::memcpy(&v, p, sizeof v);
    if ((((v + 0x4646464646464646ULL) | (v - 0x3030303030303030ULL)) & 0x8080808080808080ULL) != 0)
        return false;
    v -= 0x3030303030303030ULL;
    v = v * 10 + (v >> 8);
    v = (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
         (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >> 32;
    value = v & 0xFFFFFFFFULL;
    return true;
#else
    (void)p;
    (void)value;
    return false;
#endif
}

// Appends the digits at p to mant (modulo 2^64: the caller counts them).
[[gnu::always_inline]] inline void AddDigits(const char*& p, const char* end, std::uint64_t& mant)
{
    std::uint64_t eight = 0;
    while (end - p >= 8 && EightDigits(p, eight)) {
        mant = mant * 100000000 + eight;
        p += 8;
    }
    while (p != end && static_cast<unsigned char>(*p - '0') <= 9)
        mant = mant * 10 + static_cast<unsigned>(*p++ - '0');
}

}  // namespace

bool detail::TryParseRealExact(std::string_view text, Extended& out, const Separators& seps)
{
    return ParseRealText(text, out, seps, false);
}

bool TryParseReal(std::string_view text, Extended& out, const Separators& seps)
{
    // The form the tables hold: an optional minus, digits, at most one
    // separator, digits, nothing around. Up to 19 digits make a whole number
    // below 2^64, exact in the significand; with at most 19 decimals the one
    // division by an exact power of ten is correctly rounded. Anything else
    // (blanks, a plus, an exponent, more digits, no digit) takes the general way.
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    p += negative ? 1 : 0;
    const char* const first = p;
    std::uint64_t mant = 0;
    AddDigits(p, end, mant);
    const char* const point = p;
    if (p != end && *p == seps.decimal) {
        ++p;
        AddDigits(p, end, mant);
    }
    const size_t digits = static_cast<size_t>(p - first) - (point != p ? 1 : 0);
    if (p == end && digits > 0 && digits <= 19) {
        const size_t decimals = point != p ? static_cast<size_t>(p - point - 1) : 0;
        Extended v = static_cast<Extended>(mant);
        if (decimals > 0)
            v /= kPow10[decimals];
        out = negative ? -v : v;
        return true;
    }
    return ParseRealText(text, out, seps, true);
}

Extended ParseReal(std::string_view text, const Separators& seps)
{
    Extended v = 0;
    if (!TryParseReal(text, v, seps))
        ThrowInvalidFloat(text);
    return v;
}

bool TryParseInteger(std::string_view text, std::int32_t& out)
{
    // Up to nine plain digits always fit; everything else takes the general way.
    if (!text.empty() && text.size() <= 9) {
        std::int32_t value = 0;
        size_t i = 0;
        for (; i < text.size() && static_cast<unsigned char>(text[i] - '0') <= 9; ++i)
            value = value * 10 + (text[i] - '0');
        if (i == text.size()) {
            out = value;
            return true;
        }
    }
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return false;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int dv = base == 10 ? (IsDigit(text[i]) ? text[i] - '0' : -1) : HexValue(text[i]);
        if (dv < 0)
            return false;
        value = value * base + dv;
        if (value > limit)
            return false;
    }
    out = static_cast<std::int32_t>(negative ? -value : value);
    return true;
}

std::int32_t ParseInteger(std::string_view text)
{
    std::int32_t v = 0;
    if (!TryParseInteger(text, v))
        ThrowInvalidInteger(text);
    return v;
}

std::string PadTwoDigits(std::int32_t x)
{
    return x < 10 ? "0" + FormatInteger(x) : FormatInteger(x);
}

}  // namespace rq
