#include "platform/memory.h"

#include <cstdlib>  // tells whether the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace sdmate {

void KeepFreedMemory() {
#if defined(__GLIBC__)
  // A full card's model is a few tens of megabytes; up to this much freed memory stays with the
  // process, and each heap grows by this much more than it needs at once.
  constexpr int kKept = 64 << 20;
  constexpr int kGrowth = 16 << 20;
  mallopt(M_TRIM_THRESHOLD, kKept);
  mallopt(M_TOP_PAD, kGrowth);
#endif
}

}  // namespace sdmate
