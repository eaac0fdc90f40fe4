#include "engine/checksum_algorithm.h"

namespace corvane {

namespace {

struct NamedAlgorithm {
    ChecksumAlgorithm algorithm;
    std::string_view name;
};

// The one list of names, in the algorithm list's order.
constexpr NamedAlgorithm kAlgorithms[] = {
    {ChecksumAlgorithm::MD5, "MD5"},       {ChecksumAlgorithm::CRC32, "CRC32"},
    {ChecksumAlgorithm::SHA1, "SHA1"},     {ChecksumAlgorithm::SHA256, "SHA256"},
    {ChecksumAlgorithm::SHA512, "SHA512"},
};

}  // namespace

std::optional<ChecksumAlgorithm> ParseChecksumAlgorithm(std::string_view name) {
    for (const NamedAlgorithm& entry : kAlgorithms) {
        if (entry.name == name) return entry.algorithm;
    }
    return std::nullopt;
}

std::vector<std::string> ChecksumAlgorithmNames() {
    std::vector<std::string> names;
    for (const NamedAlgorithm& entry : kAlgorithms) names.emplace_back(entry.name);
    return names;
}

}  // namespace corvane
