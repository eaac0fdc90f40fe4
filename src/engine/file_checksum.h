// One file's checksum as the list shows it: lower-case hexadecimal, or one of five error texts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace corvane {

inline const char* const kFileNotFoundError = "Error: File not found or invalid";
inline const char* const kCannotOpenError = "Error: Cannot open file";
inline const char* const kMemoryError = "Error: Memory allocation failed";
inline const char* const kUnsupportedAlgorithmError = "Error: Unsupported algorithm";
// A read failed after the file was opened: the bytes read before it are not the file's checksum.
inline const char* const kReadError = "Error: Cannot read file";

// The read block for a file of this many bytes: 1 MiB up to 10 MiB, 8 MiB up to 500 MiB, 16 MiB up to
// 2 GiB, 32 MiB above (upper bounds inclusive).
size_t ChecksumBlockSize(int64_t fileSize);

// The checksum of the file with "MD5", "CRC32", "SHA1", "SHA256" or "SHA512", or an error text. Before every
// read block it asks shouldStop; once that answers yes, the result is the checksum of the bytes read so far
// (the caller shows no such result).
std::string ComputeChecksum(const std::string& path, const std::string& algorithm,
                            const std::function<bool()>& shouldStop);
// The same, stopping when AbortRequested is set.
std::string ComputeChecksum(const std::string& path, const std::string& algorithm);

}  // namespace corvane
