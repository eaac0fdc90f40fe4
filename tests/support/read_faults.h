// Reads of one file that fail, for tests. Linked into a test executable as a shared library, its read()
// stands before the C library's (and behind a sanitizer's interceptor, which passes the call on to it), so
// the code under test meets the failure at its own read call, in the same process.
#pragma once

#include <cstdint>
#include <string>

namespace corvane::testing {

// From now on read() on any descriptor of this file (the same device and inode) fails with error once the
// descriptor's offset has reached failAt; a read that would cross failAt delivers the bytes before it first,
// as a disk that fails there does. After `times` failures (a negative count: never) reads succeed again.
// False when the file cannot be examined.
bool FailReadsOf(const std::string& path, int64_t failAt, int error, int times = -1);
// Reads succeed again.
void StopFailingReads();
// The number of reads that were made to fail since FailReadsOf.
int FailedReads();

}  // namespace corvane::testing
