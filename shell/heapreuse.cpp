#include "heapreuse.h"

// Any C library header says whether this is glibc.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>

namespace {

// Laying out a report line of a megabyte without a place to break takes some 40 MB of buffers.
// glibc maps blocks over 32 MiB freshly from the system and returns them when freed, so every
// such report paid again for zeroing and faulting in every page: two thirds of its time. Both
// limits cover a line of about 1.5 MiB; free memory beyond them still goes back to the system.
constexpr int LargeBlockBytes = 64 * 1024 * 1024;

} // namespace
#endif

void keepLargeBlocksForReuse()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, LargeBlockBytes);
    mallopt(M_TRIM_THRESHOLD, LargeBlockBytes);
#endif
}
