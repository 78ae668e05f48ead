// Counting heap allocations in a test program: linking this replaces the program's global
// allocation functions (they still allocate as usual) and counts what the calling thread
// asks for between Start and Stop. MUSICDISK_ALLOC_TRACE=1 prints the stack of each
// counted allocation (resolve with addr2line -C -f).
#pragma once

namespace test_support {

// Starts counting on this thread from zero.
void StartCountingAllocations();
// Stops counting on this thread; the counts stay readable.
void StopCountingAllocations();
// Allocations and bytes counted on this thread since the last start.
long CountedAllocations();
long CountedBytes();

}  // namespace test_support
