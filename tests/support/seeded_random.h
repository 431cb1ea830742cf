#pragma once
// The tests' one source of chance: a standard engine started from the test's
// own seed, so every run draws the same figures, inputs and moments.
#include <cstdint>
#include <random>

namespace rqtest {

template <typename Engine = std::mt19937>
class SeededRandom {
public:
    explicit SeededRandom(typename Engine::result_type seed) : engine_(seed) {}

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(engine_); }
    double Real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(engine_); }
    // The low eight bits of one draw.
    char Byte() { return static_cast<char>(engine_() & 0xFF); }
    // The top 53 bits of one draw, as a fraction of [lo, hi).
    double Fraction(double lo, double hi)
    {
        static_assert(Engine::word_size == 64, "53 bits need a 64-bit draw");
        return lo + (hi - lo) * static_cast<double>(engine_() >> 11) * 0x1p-53;
    }

private:
    Engine engine_;
};

// Marsaglia's xorshift64: a cheap stream of 64-bit numbers, for the long
// sweeps over the number conversions.
class XorShift64 {
public:
    explicit XorShift64(std::uint64_t seed) : x_(seed) {}
    std::uint64_t operator()()
    {
        x_ ^= x_ << 13;
        x_ ^= x_ >> 7;
        x_ ^= x_ << 17;
        return x_;
    }

private:
    std::uint64_t x_;
};

}  // namespace rqtest
