#pragma once
// Extended arithmetic with the checks the floating-point unit would make:
// division by zero, 0/0 and overflow end the command with their error texts
// instead of letting an infinity or NaN into the tables. 32-bit integer sums
// that would wrap raise "Integer overflow".
#include <cmath>
#include <cstdint>
#include <limits>

#include "model/errors.h"
#include "model/numbers.h"

namespace rq {

inline Extended Checked(Extended v)
{
    if (std::isnan(v))
        ThrowInvalidOperation();
    if (std::isinf(v))
        ThrowOverflow();
    return v;
}

inline Extended Add(Extended a, Extended b) { return Checked(a + b); }
inline Extended Sub(Extended a, Extended b) { return Checked(a - b); }
inline Extended Mul(Extended a, Extended b) { return Checked(a * b); }
inline Extended Div(Extended a, Extended b)
{
    if (b == 0) {
        if (a == 0)
            ThrowInvalidOperation();
        ThrowDivByZero();
    }
    return Checked(a / b);
}

// Rounds an extended value to the double it is stored into.
inline double StoreDouble(Extended v)
{
    if (std::isnan(v))
        ThrowInvalidOperation();
    const double d = static_cast<double>(v);
    if (std::isinf(d))
        ThrowOverflow();
    return d;
}

// The whole part of a value in [0, 2^63), without switching the floating-point
// unit's rounding mode (which stalls it): adding 2^63 leaves a sum whose last
// significand bit is worth 1, so the sum rounds the value to the nearest whole
// number; one step down makes that the whole part.
inline Extended WholePart(Extended a)
{
    const Extended two63 = 9223372036854775808.0L;
    Extended r = (a + two63) - two63;
    if (r > a)
        r -= 1;
    return r;
}

// Cut toward zero to a 64-bit integer; a value that does not fit is an invalid operation.
inline std::int64_t Trunc64(Extended v)
{
    if (std::isnan(v))
        ThrowInvalidOperation();
    const Extended a = std::fabs(v);
    if (a >= 9223372036854775808.0L) {
        if (v == -9223372036854775808.0L)
            return INT64_MIN;
        ThrowInvalidOperation();
    }
    // A whole number converts exactly in the current rounding mode.
    const auto whole = static_cast<std::int64_t>(__builtin_llrintl(WholePart(a)));
    return v < 0 ? -whole : whole;
}

inline std::int32_t NarrowInt32(std::int64_t v)
{
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        ThrowIntegerOverflow();
    return static_cast<std::int32_t>(v);
}

inline std::int32_t AddInt32(std::int32_t a, std::int32_t b)
{
    return NarrowInt32(static_cast<std::int64_t>(a) + b);
}
inline std::int32_t SubInt32(std::int32_t a, std::int32_t b)
{
    return NarrowInt32(static_cast<std::int64_t>(a) - b);
}
inline std::int32_t MulInt32(std::int32_t a, std::int32_t b)
{
    return NarrowInt32(static_cast<std::int64_t>(a) * b);
}

}  // namespace rq
