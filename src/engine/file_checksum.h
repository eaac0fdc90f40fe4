// One file's checksum: lower-case hexadecimal, or the reason there is none, which the list shows as one of
// five error texts.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/checksum_algorithm.h"

namespace corvane {

// Why a file has no checksum, in the order the steps can fail.
enum class ChecksumFailure { FileNotFound, CannotOpen, Memory, UnsupportedAlgorithm, CannotRead };

inline const char* const kFileNotFoundError = "Error: File not found or invalid";
inline const char* const kCannotOpenError = "Error: Cannot open file";
inline const char* const kMemoryError = "Error: Memory allocation failed";
inline const char* const kUnsupportedAlgorithmError = "Error: Unsupported algorithm";
// A read failed after the file was opened: the bytes read before it are not the file's checksum.
inline const char* const kReadError = "Error: Cannot read file";

struct ChecksumResult {
    std::string hex;                         // the checksum; empty with a failure
    std::optional<ChecksumFailure> failure;  // none: hex holds the checksum
};

// The text of the list's checksum column: the checksum, or the failure's error text.
std::string ChecksumText(const ChecksumResult& result);

// The read block for a file of this many bytes: 1 MiB up to 10 MiB, 8 MiB up to 500 MiB, 16 MiB up to
// 2 GiB, 32 MiB above (upper bounds inclusive).
size_t ChecksumBlockSize(int64_t fileSize);

// The checksum of the file with the algorithm; none stands for a name that is no algorithm's and fails as
// UnsupportedAlgorithm, after the file's own failures. Before every read block it asks shouldStop; once that
// answers yes, the result is the checksum of the bytes read so far (the caller shows no such result).
ChecksumResult ComputeChecksum(const std::string& path, std::optional<ChecksumAlgorithm> algorithm,
                               const std::function<bool()>& shouldStop);
// The same, stopping when AbortRequested is set.
ChecksumResult ComputeChecksum(const std::string& path, std::optional<ChecksumAlgorithm> algorithm);

}  // namespace corvane
