#include "platform/memory.h"

namespace sdmate {

// The Windows heap keeps freed blocks for reuse by itself.
void KeepFreedMemory() {}

}  // namespace sdmate
