// The checksum algorithms and their names. A name (the algorithm list's choice, the stored setting) is read
// once where it comes in; from there on the algorithm travels as the enum.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

enum class ChecksumAlgorithm { MD5, CRC32, SHA1, SHA256, SHA512 };

// The algorithm of exactly this name: "MD5", "CRC32", "SHA1", "SHA256" or "SHA512"; none for any other text
// ("sha256", "SHA-256", "").
std::optional<ChecksumAlgorithm> ParseChecksumAlgorithm(std::string_view name);
// The five names in the algorithm list's order.
std::vector<std::string> ChecksumAlgorithmNames();

}  // namespace corvane
