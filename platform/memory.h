// How the process's allocator treats memory the program frees.
#pragma once

namespace sdmate {

// Every load builds the whole card's model (tens of thousands of small blocks) while the one it
// replaces is freed: the allocator keeps freed memory for the next load instead of handing it
// back to the system and taking every page again. Called once, before the first load.
void KeepFreedMemory();

}  // namespace sdmate
