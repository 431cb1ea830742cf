#pragma once
#include "model/numbers.h"

// Puts the regional separators in place for one test and back afterwards.
class SeparatorsGuard {
public:
    explicit SeparatorsGuard(char decimal, char thousands) : saved_(rq::NumberSeparators())
    {
        rq::SetNumberSeparators({decimal, thousands});
    }
    ~SeparatorsGuard() { rq::SetNumberSeparators(saved_); }
    SeparatorsGuard(const SeparatorsGuard&) = delete;
    SeparatorsGuard& operator=(const SeparatorsGuard&) = delete;

private:
    rq::Separators saved_;
};
