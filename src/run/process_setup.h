#pragma once
// What a process of the program sets up before anything else runs: how it
// keeps freed memory, and the number separators of the user's regional
// settings, handed to the number conversions.
#include "model/numbers.h"

namespace rq {

// A large project is hundreds of thousands of short lines, read, rewritten
// and written once: the process keeps freed memory for reuse instead of
// handing it back to the system and faulting it in again.
void KeepFreedMemoryForReuse();

// The separators of the user's regional settings (LC_NUMERIC / LC_ALL / LANG,
// or Windows' regional settings), read without touching the process locale;
// "." and "," when none are set or the locale is unknown.
Separators RegionalSeparators();
// Hands the regional separators to the number conversions. Before a toolkit
// touches the process locale.
void UseRegionalSeparators();

}  // namespace rq
