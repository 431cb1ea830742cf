#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "model/arith.h"
#include "model/errors.h"
#include "model/numbers.h"
#include "platform/file_error.h"
#include "support/separators_guard.h"
#include "support/error_of.h"
#include "support/seeded_random.h"

using namespace rq;

namespace {

}  // namespace

TEST(FormatGeneral, WritesAtMostFifteenSignificantDigits)
{
    SeparatorsGuard dot('.', ',');
    struct Case {
        Extended value;
        const char* text;
    } cases[] = {
        {25.0L, "25"},
        {static_cast<double>(29.97), "29.97"},
        {static_cast<double>(23.97), "23.97"},
        {21972.65625L, "21972.65625"},
        {0.000015L, "1.5E-5"},
        {0.0001L, "0.0001"},
        {0.00001L, "1E-5"},
        {0, "0"},
        {-2.5L, "-2.5"},
        {1e15L, "1E15"},
        {999999999999999.0L, "999999999999999"},
        {1234567.0L, "1234567"},
        {1.0L / 3.0L, "0.333333333333333"},
        {2.0L / 3.0L, "0.666666666666667"},
        {100.0L, "100"},
        {62.5L, "62.5"},
        {1e-300L, "1E-300"},
        {-1.5e20L, "-1.5E20"},
        {static_cast<double>(0.1) * 3, "0.3"},
        {150000000000000.25L, "150000000000000"},
        {-0.00123456789012345678L, "-0.00123456789012346"},
    };
    char buf[kGeneralTextMax];
    for (const Case& c : cases) {
        EXPECT_EQ(FormatGeneral(c.value), c.text) << static_cast<double>(c.value);
        // The value the text reads back as, told by the formatter, is the reader's.
        Extended told = 0;
        EXPECT_EQ(FormatGeneralTo(buf, c.value, NumberSeparators(), &told), c.text) << static_cast<double>(c.value);
        EXPECT_EQ(told, ParseReal(c.text)) << c.text;
    }
    // The longest texts of all: a sign, 15 digits and an exponent of four figures.
    const Extended longest = -1.23456789012345e-4000L;
    EXPECT_EQ(FormatGeneralTo(buf, longest), "-1.23456789012345E-4000");
}

TEST(FormatGeneral, UsesTheRegionalDecimalSeparator)
{
    SeparatorsGuard comma(',', '.');
    EXPECT_EQ(FormatGeneral(static_cast<double>(29.97)), "29,97");
    EXPECT_EQ(FormatGeneral(0.000015L), "1,5E-5");
    EXPECT_EQ(ParseReal("29,97"), ParseReal("2997e-2"));
    EXPECT_EQ(ErrorOf([] { ParseReal("29.97"); }), "'29.97' is not a valid floating point value");
}

TEST(FormatFloat, FixedAndGroupedConversions)
{
    SeparatorsGuard dot('.', ',');
    struct Case {
        const char* format;
        Extended value;
        const char* text;
    } cases[] = {
        {"%7.0n", 4567.6L, "  4,568"},
        {"%9.1f %", 45.25L, "     45.3 "},
        {"%9.1f %", 7.0L, "      7.0 "},
        {"%9.0n", 12345.0L, "   12,345"},
        {"%9.0n", 1000.0L, "    1,000"},
        {"%10.2f", static_cast<double>(29.97), "     29.97"},
        {"%9.0n", 4380000.5L, "4,380,001"},
        {"%14.1f", 75.29L, "          75.3"},
        {"%9.0n", 123456789012.0L, "123,456,789,012"},
        {"%7.0n", -4567.6L, " -4,568"},
        {"%7.0n", 0.4L, "      0"},
        {"%7.0n", 0.5L, "      1"},
        {"%9.1f %", 0.05L, "      0.1 "},
        // A negative value that rounds to zero is written as the zero it rounds
        // to, without a sign: "-0.0" would read as a shrink that is not there.
        {"%9.1f %", -0.04L, "      0.0 "},
        {"%7.0n", -0.4L, "      0"},
        {"%9.1f %", -0.05L, "     -0.1 "},
        {"%9.1f %", 99.95L, "    100.0 "},
        {"%7.0n", 999.5L, "  1,000"},
        {"x%3.0fy", 5.0L, "x  5y"},
        {"%9.1f %%", 1.0L, "      1.0 %"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFloat(c.format, c.value), c.text) << c.format << " " << static_cast<double>(c.value);
}

TEST(FormatFloat, CommaLocaleSwapsTheSeparators)
{
    SeparatorsGuard comma(',', '.');
    EXPECT_EQ(FormatFloat("%7.0n", 4567.6L), "  4.568");
    EXPECT_EQ(FormatFloat("%10.2f", static_cast<double>(29.97)), "     29,97");
}

TEST(NumberText, GivenSeparatorsWinOverTheRegionalOnes)
{
    SeparatorsGuard dot('.', ',');
    const Separators comma{',', '.'};
    EXPECT_EQ(FormatFloat("%7.0n", 4567.6L, comma), "  4.568");
    EXPECT_EQ(FormatFloat("%6.2f", 1.5e19L, comma), "1,5E19");
    EXPECT_EQ(FormatGeneral(0.000015L, comma), "1,5E-5");
    EXPECT_EQ(ParseReal("29,97", comma), ParseReal("29.97"));
    EXPECT_EQ(ErrorOf([&] { ParseReal("29.97", comma); }), "'29.97' is not a valid floating point value");
    EXPECT_EQ(FormatGeneral(2.5L), "2.5") << "the regional ones stay in place";
}

TEST(ParseReal, AcceptsOnlyStrictNumbers)
{
    SeparatorsGuard dot('.', ',');
    struct Ok {
        const char* text;
        Extended value;
    } good[] = {
        {"25", 25}, {" 25 ", 25}, {"-2.5", -2.5L}, {"+2.5", 2.5L}, {"1e3", 1000}, {"1E-3", 0.001L},
        {"1.", 1},  {".5", 0.5L}, {"0", 0},        {"4500", 4500}, {"1e-99999", 0},
    };
    for (const Ok& c : good)
        EXPECT_EQ(ParseReal(c.text), c.value) << c.text;
    const char* bad[] = {"", " ", "abc", "1,5", "1.2.3", "1e", "e5", "--1", "1 2", "0x10", "1e99999", "inf", "nan", ".",
                         "+", "1e+", "\t1"};
    for (const char* b : bad)
        EXPECT_EQ(ErrorOf([b] { ParseReal(b); }), std::string("'") + b + "' is not a valid floating point value");
}

TEST(ParseReal, ReadsTheExtendedValueNearestToTheText)
{
    EXPECT_EQ(ParseReal("29.97"), 29.97L);
    EXPECT_NE(ParseReal("29.97"), static_cast<Extended>(29.97));
    EXPECT_EQ(FormatGeneral(ParseReal("21972.65625")), "21972.65625");
}

TEST(ParseInteger, DecimalAndHexadecimal)
{
    struct Ok {
        const char* text;
        std::int32_t value;
    } good[] = {
        {"25", 25},         {"  7", 7},    {"-12", -12},         {"+3", 3},           {"$ff", 255},
        {"x1A", 26},        {"0x10", 16},  {"0X10", 16},         {"-$10", -16},       {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},        {"007", 7},
    };
    for (const Ok& c : good)
        EXPECT_EQ(ParseInteger(c.text), c.value) << c.text;
    const char* bad[] = {"", "abc", "12 ", "1.5", "500.5", "2147483648", "-2147483649", "$", "0x", "1e3", "$fffffffff", "- 1"};
    for (const char* b : bad)
        EXPECT_EQ(ErrorOf([b] { ParseInteger(b); }), std::string("'") + b + "' is not a valid integer value");
}

TEST(PadTwoDigits, PadsValuesBelowTen)
{
    EXPECT_EQ(PadTwoDigits(0), "00");
    EXPECT_EQ(PadTwoDigits(9), "09");
    EXPECT_EQ(PadTwoDigits(10), "10");
    EXPECT_EQ(PadTwoDigits(123), "123");
    EXPECT_EQ(PadTwoDigits(-3), "0-3");
}

TEST(Arithmetic, FaultsBecomeErrorsInsteadOfInfinities)
{
    EXPECT_EQ(ErrorOf([] { Div(1, 0); }), "Floating point division by zero");
    EXPECT_EQ(ErrorOf([] { Div(0, 0); }), "Invalid floating point operation");
    EXPECT_EQ(ErrorOf([] { StoreDouble(1e308L * 10); }), "Floating point overflow");
    EXPECT_EQ(ErrorOf([] { Mul(1e4000L, 1e4000L); }), "Floating point overflow");
    EXPECT_EQ(ErrorOf([] { Trunc64(1e19L); }), "Invalid floating point operation");
    EXPECT_EQ(ErrorOf([] { AddInt32(INT32_MAX, 1); }), "Integer overflow");
    EXPECT_EQ(ErrorOf([] { SubInt32(INT32_MIN, 1); }), "Integer overflow");
    const struct {
        Extended v;
        std::int64_t cut;
    } cuts[] = {{4999.9L, 4999},   {-4999.9L, -4999}, {0.5L, 0}, {-0.5L, 0}, {0.9999999999L, 0}, {-1, -1},
                {2.5L, 2},         {3.5L, 3},         {1e18L + 0.5L, 1000000000000000000LL},
                {-9223372036854775808.0L, INT64_MIN}, {9223372036854775807.0L, INT64_MAX}};
    for (const auto& c : cuts)
        EXPECT_EQ(Trunc64(c.v), c.cut) << static_cast<double>(c.v);
    EXPECT_EQ(ErrorOf([] { Trunc64(9223372036854775808.0L); }), "Invalid floating point operation");
}

TEST(Errors, FullStopAndInputOutputTexts)
{
    EXPECT_EQ(WithFullStop("File not found"), "File not found.");
    EXPECT_EQ(WithFullStop("Done."), "Done.");
    EXPECT_EQ(WithFullStop("value -"), "value -");
    EXPECT_EQ(WithFullStop(""), "");
    EXPECT_EQ(IoErrorText(2), "File not found");
    EXPECT_EQ(IoErrorText(3), "Invalid filename");
    EXPECT_EQ(IoErrorText(4), "Too many open files");
    EXPECT_EQ(IoErrorText(5), "File access denied");
    EXPECT_EQ(IoErrorText(100), "Read beyond end of file");
    EXPECT_EQ(IoErrorText(101), "Disk full");
    EXPECT_EQ(IoErrorText(106), "Invalid numeric input");
    EXPECT_EQ(IoErrorText(7), "I/O error 7");
    EXPECT_EQ(IoCodeFromErrno(ENOENT), 2);
    EXPECT_EQ(IoCodeFromErrno(EACCES), 5);
    EXPECT_EQ(IoCodeFromErrno(EMFILE), 4);
    EXPECT_EQ(IoCodeFromErrno(ENOSPC), 101);
    EXPECT_EQ(IoCodeFromErrno(EISDIR), 3);
    EXPECT_EQ(FileError::FromErrno(EIO).Text(), "I/O error 5");
    EXPECT_EQ(FileError::FromErrno(EACCES).Text(), "File access denied");
}

TEST(DecimalDigits, QuickScalingAgreesWithTheExactConversion)
{
    // Random magnitudes over the whole fixed range, and the values the tables
    // really hold: sizes, bitrates, percentages with binary fractions.
    rqtest::XorShift64 next(88172645463325252ULL);
    int checked = 0;
    for (int i = 0; i < 200000; ++i) {
        const int e = static_cast<int>(next() % 20) - 4;
        const Extended mant = static_cast<Extended>(next() % 1000000007ULL) / 1000000007.0L + 0.1L;
        Extended v = mant;
        for (int j = 0; j < (e < 0 ? -e : e); ++j)
            v = e < 0 ? v / 10 : v * 10;
        if (i % 3 == 0)
            v = static_cast<double>(v);  // values that went through a stored double
        if (i % 5 == 0)
            v = static_cast<Extended>(static_cast<std::int64_t>(next() % 100000000)) / 64;  // binary fractions
        if (i % 7 == 0) {
            // An exact half at the 18th digit (rounds to even): v = m x 2^-(k+1),
            // m odd, v x 10^k in [10^17, 10^18).
            const int k = 3 + static_cast<int>(next() % 19);
            const auto low = static_cast<std::uint64_t>(std::pow(10.0L, 17 - k) * std::ldexp(1.0L, k + 1));
            v = std::ldexp(static_cast<Extended>((low | 1) + 2 * (next() % (low / 4 + 1))), -(k + 1));
        }
        const detail::Decimal quick = detail::ToDecimal18(v);
        const detail::Decimal exact = detail::ExactDecimal18(v);
        ASSERT_EQ(quick.digits.view(), exact.digits.view()) << static_cast<double>(v);
        ASSERT_EQ(quick.exponent, exact.exponent) << static_cast<double>(v);
        ++checked;
    }
    EXPECT_EQ(checked, 200000);
}

TEST(ParseReal, EveryTextReadsAsTheCorrectlyRoundedExtendedValue)
{
    SeparatorsGuard dot('.', ',');
    rqtest::XorShift64 next(1234567890123ULL);
    for (int i = 0; i < 100000; ++i) {
        std::string text = std::to_string(next() % 100000000000ULL);
        const size_t point = next() % (text.size() + 1);
        text.insert(point, ".");
        if (next() % 4 == 0)
            text += "e" + std::to_string(static_cast<int>(next() % 60) - 30);
        if (next() % 2 == 0)
            text = "-" + text;
        Extended expected = 0;
#if defined(_WIN32)  // mingw-w64's from_chars stops at double precision
        expected = std::strtold(text.c_str(), nullptr);
#else
        std::from_chars(text.data(), text.data() + text.size(), expected);
#endif
        ASSERT_EQ(ParseReal(text), expected) << text;
    }
}

TEST(NumberText, QuickPathsGiveTheExactResultAtTheirEdges)
{
    const Separators dot{'.', ','};
    const char* const texts[] = {
        "0", "-0", "-0.0", "1.", ".5", "-", ".", "", "007", "9999999999999999999", "99999999999999999999",
        "18446744073709551615", "0.0000000000000000001", "0.00000000000000000001", "1234567890.123456789",
        "27537.1337890625", "29.97", "1e27", "1e28", "1e-27", "1e-28", "12345678901234567890123", "1,5",
        "12345678", "1234567.8", "123456781234567812345678", "1234567x", "12345678\xb0", "\xb0" "12345678", "1 ",
    };
    for (const char* t : texts) {
        Extended quick = 0;
        Extended exact = 0;
        const bool read = TryParseReal(t, quick, dot);
        ASSERT_EQ(read, detail::TryParseRealExact(t, exact, dot)) << t;
        if (read) {
            EXPECT_TRUE(quick == exact && std::signbit(quick) == std::signbit(exact)) << t;
        }
    }
    const Extended values[] = {
        1, -1, 25, 1e15L - 1, 1e15L, 1e15L + 2, 999999999999999.5L, 999999999999999.4L, 99999999999999.95L,
        9.999999999999995L, 0.0001L, 0.00009999999999999995L, 0.1L, 1.0L / 3, 2.0L / 3, 1e-5L, 0x1p63L, -0x1p64L,
        27537.1337890625L, 123456789012345.5L, 1e300L, -0.0L,
    };
    for (const Extended v : values) {
        EXPECT_EQ(FormatGeneral(v, dot), detail::FormatGeneralExact(v, dot)) << static_cast<double>(v);
        EXPECT_EQ(FormatGeneral(std::nextafter(v, 1e20L), dot), detail::FormatGeneralExact(std::nextafter(v, 1e20L), dot));
    }
    const struct {
        const char* text;
        bool ok;
        std::int32_t value;
    } ints[] = {{"123456789", true, 123456789}, {"1234567890", true, 1234567890}, {"12345678x", false, 0},
                {"000000007", true, 7},         {"2147483648", false, 0},         {"-123456789", true, -123456789}};
    for (const auto& c : ints) {
        std::int32_t v = 0;
        ASSERT_EQ(TryParseInteger(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(FormatFloat, HugeWidthsAndDecimalsStayBounded)
{
    EXPECT_EQ(FormatFloat("%3333333333333332f", 1).size(), 4096u);
    EXPECT_EQ(FormatFloat("%1.99999999f", 1), "1.000000000000000000");
}
