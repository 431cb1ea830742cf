#pragma once
// Numbers as the tables hold them: text in the general number format, parsed
// strictly each time it is used, with the separators of the user's regional
// settings. Locale-free by construction (std::to_chars / std::from_chars): the
// process locale that a toolkit may set never changes these texts.
#include <cstdint>
#include <optional>
#include <limits>
#include <string>
#include <string_view>

namespace rq {

// The project's arithmetic is done in 80-bit extended precision.
using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64, "extended precision needs a 64-bit significand");

struct Separators {
    char decimal = '.';
    char thousands = ',';
    bool operator==(const Separators&) const = default;
};

// The separators the text conversions below use unless they are given others
// (the views write text they recorded under earlier separators with those):
// "." and "," until the program hands over the user's regional ones at
// start-up (SetNumberSeparators).
const Separators& NumberSeparators();
void SetNumberSeparators(Separators s);
// The separators for a decimal and a thousands separator as regional settings
// give them (either may be missing): "." and "," stand in for a missing one,
// and a thousands separator equal to the decimal one gives way.
Separators SeparatorsFrom(std::optional<char> decimal, std::optional<char> thousands);

// General number format: at most 15 significant digits, no grouping, no trailing
// zeros; fixed notation for 1E-4 <= |v| < 1E15, otherwise d.dddE[-]x.
std::string FormatGeneral(Extended v, const Separators& seps = NumberSeparators());
// The same text written into `buf`, for a caller that copies it on (a table
// cell keeps its room): a view of it. textValue, when given, receives the
// value the text reads back as (ParseReal of it, bit for bit), or NAN for a
// text that reads as no number.
inline constexpr size_t kGeneralTextMax = 48;
std::string_view FormatGeneralTo(char (&buf)[kGeneralTextMax], Extended v, const Separators& seps = NumberSeparators(),
                                 Extended* textValue = nullptr);
std::string FormatInteger(std::int64_t v);

// A format string with one %W.Dn (grouped) or %W.Df conversion and literal text
// around it; a "%" that ends the string produces nothing. Rounding: the value's
// first 18 significant digits, then halves away from zero.
std::string FormatFloat(std::string_view format, Extended v, const Separators& seps = NumberSeparators());

// Strict parsers. Real: blanks around, sign, digits with at most one decimal
// separator, optional exponent. Integer: leading blanks, sign, decimal or
// hexadecimal after "$", "x" or "0x"; must fit 32 bits.
Extended ParseReal(std::string_view text, const Separators& seps = NumberSeparators());
bool TryParseReal(std::string_view text, Extended& out, const Separators& seps = NumberSeparators());
std::int32_t ParseInteger(std::string_view text);
bool TryParseInteger(std::string_view text, std::int32_t& out);

// "0" in front of values below 10 (so -3 gives "0-3"); others written whole.
std::string PadTwoDigits(std::int32_t x);

namespace detail {
// A value as decimal digits: value = 0.d1 d2 d3 ... x 10^exponent.
// Up to 24 decimal digits held in place (formatting allocates nothing for them).
class Digits {
public:
    bool empty() const { return len_ == 0; }
    size_t size() const { return len_; }
    char operator[](size_t i) const { return buf_[i]; }
    char& operator[](size_t i) { return buf_[i]; }
    char back() const { return buf_[len_ - 1]; }
    void clear() { len_ = 0; }
    void resize(size_t n) { len_ = n < len_ ? n : len_; }
    void pop_back() { --len_; }
    void push_back(char c)
    {
        if (len_ < sizeof buf_)
            buf_[len_++] = c;
    }
    void push_front(char c)
    {
        const size_t n = len_ < sizeof buf_ ? len_ : sizeof buf_ - 1;
        for (size_t i = n; i > 0; --i)
            buf_[i] = buf_[i - 1];
        buf_[0] = c;
        len_ = n + 1;
    }
    void assign(const char* b, const char* e)
    {
        len_ = 0;
        for (; b != e; ++b)
            push_back(*b);
    }
    std::string_view view() const { return std::string_view(buf_, len_); }
    bool operator==(const Digits& o) const { return view() == o.view(); }

private:
    char buf_[24] = {};
    size_t len_ = 0;
};

struct Decimal {
    bool negative = false;
    Digits digits;  // no leading zeros; empty means zero
    int exponent = 0;
};
// The first 18 significant digits of the extended value, rounded to nearest:
// by a quick scaling where that is provably exact, else the exact way.
Decimal ToDecimal18(Extended v);
Decimal ExactDecimal18(Extended v);
// The conversions without their quick paths: what the quick paths must equal.
std::string FormatGeneralExact(Extended v, const Separators& seps);
bool TryParseRealExact(std::string_view text, Extended& out, const Separators& seps);
}  // namespace detail

}  // namespace rq
