// rq_number_check COUNT SEED: compares the quick number conversions with the
// exact ones over COUNT random inputs of each kind, and all edge cases first.
// Texts: the shapes the project files hold (whole numbers, decimals, signs,
// leading zeros, long digit strings, exponents, both separators). Values:
// whole numbers, binary fractions, results of the program's own arithmetic,
// values next to rounding boundaries, and random bit patterns of every
// magnitude. Prints the counts; exits 1 at the first difference.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "model/numbers.h"

namespace {

using rq::Extended;

struct Random {
    std::uint64_t x;
    std::uint64_t operator()()
    {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        return x;
    }
    std::uint64_t Below(std::uint64_t n) { return (*this)() % n; }
};

bool Same(Extended a, Extended b) { return std::memcmp(&a, &b, 10) == 0; }

std::uint64_t g_texts = 0;
std::uint64_t g_values = 0;

void CheckText(const std::string& text, const rq::Separators& seps)
{
    Extended quick = 0;
    Extended exact = 0;
    const bool q = rq::TryParseReal(text, quick, seps);
    const bool e = rq::detail::TryParseRealExact(text, exact, seps);
    if (q != e || (q && !Same(quick, exact))) {
        std::fprintf(stderr, "parse differs: \"%s\" (%d %d) %.21Lg %.21Lg\n", text.c_str(), q, e, quick, exact);
        std::exit(1);
    }
    ++g_texts;
}

void CheckValue(Extended v, const rq::Separators& seps)
{
    const std::string quick = rq::FormatGeneral(v, seps);
    const std::string exact = rq::detail::FormatGeneralExact(v, seps);
    if (quick != exact) {
        std::fprintf(stderr, "format differs: %.21Lg \"%s\" \"%s\"\n", v, quick.c_str(), exact.c_str());
        std::exit(1);
    }
    // What the text reads back as, as the formatter tells it, against the reader (exact way).
    char buf[rq::kGeneralTextMax];
    Extended told = 0;
    const std::string_view written = rq::FormatGeneralTo(buf, v, seps, &told);
    Extended read = 0;
    const bool readable = rq::detail::TryParseRealExact(exact, read, seps);
    if (written != exact || (readable ? !Same(told, read) : !std::isnan(told))) {
        std::fprintf(stderr, "read-back differs: %.21Lg \"%s\" %.21Lg %.21Lg\n", v, exact.c_str(), told, read);
        std::exit(1);
    }
    // The 18 digits the fixed formats round from.
    const rq::detail::Decimal q18 = rq::detail::ToDecimal18(v);
    const rq::detail::Decimal e18 = rq::detail::ExactDecimal18(v);
    if (!(q18.digits == e18.digits) || q18.exponent != e18.exponent || q18.negative != e18.negative) {
        std::fprintf(stderr, "18 digits differ: %.21Lg \"%.*s\"e%d \"%.*s\"e%d\n", v, static_cast<int>(q18.digits.size()),
                     q18.digits.view().data(), q18.exponent, static_cast<int>(e18.digits.size()), e18.digits.view().data(),
                     e18.exponent);
        std::exit(1);
    }
    ++g_values;
}

std::string Digits(Random& next, size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s += static_cast<char>('0' + next.Below(10));
    return s;
}

std::string RandomText(Random& next, char sep)
{
    std::string t;
    switch (next.Below(8)) {
    case 0: t = std::to_string(next.Below(100000)); break;                       // bitrates, frames
    case 1: t = Digits(next, 1 + next.Below(6)) + sep + Digits(next, next.Below(12)); break;  // sizes
    case 2: t = Digits(next, 1 + next.Below(25)); break;                          // long whole numbers
    case 3: t = Digits(next, next.Below(12)) + sep + Digits(next, next.Below(25)); break;  // long decimals
    case 4: t = std::string(next.Below(6), '0') + Digits(next, 1 + next.Below(20)); break;  // leading zeros
    case 5: t = "0" + std::string(1, sep) + std::string(next.Below(30), '0') + Digits(next, 1 + next.Below(20)); break;
    case 6:
        t = Digits(next, 1 + next.Below(19)) + (next.Below(2) ? std::string(1, sep) : "") + Digits(next, next.Below(5)) +
            "e" + std::to_string(static_cast<int>(next.Below(80)) - 40);
        break;
    default: {  // any of the number characters, in any order
        static const char kChars[] = "0123456789.,-+eE ";
        const size_t n = next.Below(12);
        for (size_t i = 0; i < n; ++i)
            t += kChars[next.Below(sizeof kChars - 1)];
    }
    }
    if (next.Below(3) == 0)
        t = "-" + t;
    return t;
}

Extended RandomValue(Random& next)
{
    switch (next.Below(7)) {
    case 0: return static_cast<Extended>(static_cast<std::int64_t>(next.Below(2000000000000000ULL)) - 1000000000000000LL);
    case 1: return static_cast<Extended>(next.Below(1ULL << 40)) / static_cast<Extended>(1ULL << next.Below(40));
    case 2: {  // a size: bitrate x 1000 / 8 / 1024 / rate x frames, stored as a double or not
        static const Extended kRates[] = {23.97L, 25.0L, 29.97L, static_cast<double>(23.97), static_cast<double>(29.97)};
        const Extended v = static_cast<Extended>(next.Below(12000)) * 1000 / 8 / 1024 / kRates[next.Below(5)] *
                           static_cast<Extended>(next.Below(300000));
        return next.Below(2) ? v : static_cast<double>(v);
    }
    case 3: {  // a value whose 16th significant digit is about 5: a rounding boundary
        const Extended base = static_cast<Extended>(next.Below(1000000000000000ULL - 100000000000000ULL) +
                                                    100000000000000ULL) + 0.5L;
        const Extended nudge = (static_cast<Extended>(next.Below(2001)) - 1000) * 1e-6L;
        return (base + nudge) / std::pow(10.0L, static_cast<Extended>(next.Below(19)));
    }
    case 4: {  // quotients and products of small values, as the commands make them
        const Extended a = static_cast<Extended>(next.Below(100000) + 1);
        const Extended b = static_cast<Extended>(next.Below(100000) + 1);
        return next.Below(2) ? a / b : a * b / 1000;
    }
    case 5: {  // any finite extended value near the fixed range
        const Extended m = static_cast<Extended>(next() | (1ULL << 63)) / 18446744073709551616.0L;
        return std::ldexp(m, static_cast<int>(next.Below(70)) - 20);
    }
    default: {  // any finite extended value
        const Extended m = static_cast<Extended>(next() | (1ULL << 63)) / 18446744073709551616.0L;
        return std::ldexp(m, static_cast<int>(next.Below(32700)) - 16350);
    }
    }
}

void EdgeCases()
{
    const rq::Separators dot{'.', ','};
    const char* const texts[] = {
        "", "-", ".", "-.", "0", "-0", "0.", ".0", "-0.0", "1", "9999999999999999999", "18446744073709551615",
        "18446744073709551616", "99999999999999999999", "0.0000000000000000001", "1.000000000000000000",
        "9223372036854775807", "9223372036854775808", "0.1", "0.3", "29.97", "23.97", "2147483648", "1e27", "1e28",
        "1e-27", "1e-28", "123456789012345678.9", "12345678901234567890", "00000000000000000001", "0000000000000000000.5",
        "1e4933", "1e-4951", "1e-5000", "1,5", " 1", "1 ", "+1", "1e", "1.2.3", "--1",
    };
    for (const char* t : texts)
        CheckText(t, dot);
    for (int k = 0; k <= 30; ++k) {
        std::string one = "1" + std::string(static_cast<size_t>(k), '0');
        CheckText(one, dot);
        CheckText("0." + std::string(static_cast<size_t>(k), '0') + "1", dot);
        CheckText("9999999999999999999" + std::string(static_cast<size_t>(k), '0'), dot);
    }
    const Extended values[] = {0.0L, -0.0L, 1e-4L, 0.0001L, 9.99999999999999e-5L, 1e15L, 999999999999999.0L,
                               999999999999999.5L, 999999999999999.4L, 99999999999999.95L, 0.1L, 1.0L / 3, 2.0L / 3,
                               25.0L, 29.97L, 23.97L, static_cast<double>(29.97), 1e300L, -1e-300L, 0.5L, 1.5L,
                               123456789012345.5L, 0.00012345678901234567L, 9.999999999999995L, 0.9999999999999995L};
    for (const Extended v : values) {
        CheckValue(v, dot);
        CheckValue(-v, dot);
        CheckValue(std::nextafter(v, 1e20L), dot);
        CheckValue(std::nextafter(v, -1e20L), dot);
    }
    // Exact halves at the 18th digit, which round to even: v = m x 2^-(k+1)
    // with m odd and v in [10^(17-k), 10^(18-k)), so that v x 10^k ends in
    // one half; at both ends of every decade the quick way takes.
    for (int k = 3; k <= 21; ++k) {
        const Extended low = std::pow(10.0L, static_cast<Extended>(17 - k)) * std::ldexp(1.0L, k + 1);
        for (std::int64_t i = 0; i < 2000; ++i) {
            const Extended up = std::floor(low) + static_cast<Extended>(2 * i + 1);
            const Extended down = std::floor(10 * low) - static_cast<Extended>(2 * i + 1);
            for (const Extended m : {up, down})
                if (std::fmod(m, 2.0L) == 1)
                    CheckValue(std::ldexp(m, -(k + 1)), dot);
        }
    }
    for (int k = -30; k <= 30; ++k) {
        const Extended p = std::pow(10.0L, static_cast<Extended>(k));
        for (const Extended v : {p, std::nextafter(p, 0.0L), std::nextafter(p, 1e4000L), 5 * p, 9.5L * p})
            CheckValue(v, dot);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: rq_number_check COUNT SEED\n");
        return 2;
    }
    const std::uint64_t count = std::strtoull(argv[1], nullptr, 10);
    Random next{std::strtoull(argv[2], nullptr, 10) | 1};
    EdgeCases();
    const rq::Separators dot{'.', ','};
    const rq::Separators comma{',', '.'};
    for (std::uint64_t i = 0; i < count; ++i) {
        const rq::Separators& seps = (i & 7) == 0 ? comma : dot;
        CheckText(RandomText(next, seps.decimal), seps);
        CheckValue(RandomValue(next), seps);
    }
    std::printf("%llu texts and %llu values: the quick conversions equal the exact ones\n",
                static_cast<unsigned long long>(g_texts), static_cast<unsigned long long>(g_values));
    return 0;
}
