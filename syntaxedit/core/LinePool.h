// Storage of the line nodes and their texts without a heap header apiece:
// nodes in one fixed-size pool, short texts in pools of 8-byte size steps.
// A pool gives its chunks back once its last block is returned. Under
// AddressSanitizer every block comes from the heap, so misuse stays visible.
// No platform headers.
#pragma once

#include <cstddef>

namespace linepool {

void* AllocNode(size_t size);
void FreeNode(void* p, size_t size);
// A buffer of size bytes for a line's text; freed with the same size.
char* AllocText(size_t size);
void FreeText(char* p, size_t size);
// The bytes a block of size takes in its pool (the heap's request otherwise).
size_t TextFootprint(size_t size);

}  // namespace linepool
