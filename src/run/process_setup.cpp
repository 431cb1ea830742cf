#include "run/process_setup.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "platform/system.h"

namespace rq {

void KeepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
    mallopt(M_TOP_PAD, 16 * 1024 * 1024);
#endif
}

Separators RegionalSeparators()
{
    const sys::RegionalSeparators regional = sys::ReadRegionalSeparators();
    return SeparatorsFrom(regional.decimal, regional.thousands);
}

void UseRegionalSeparators() { SetNumberSeparators(RegionalSeparators()); }

}  // namespace rq
