// ComputeChecksum as a command, for timing the whole process against `openssl dgst` and `cat`, warm or cold:
//
//   build/bench/hash_file ALGORITHM FILE...
//
// Prints the checksum text and the path of every file, one per line, as the list would show it.
#include <cstdio>
#include <optional>
#include <string>

#include "engine/file_checksum.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s MD5|CRC32|SHA1|SHA256|SHA512 FILE...\n", argv[0]);
        return 2;
    }
    std::optional<corvane::ChecksumAlgorithm> algorithm = corvane::ParseChecksumAlgorithm(argv[1]);
    for (int i = 2; i < argc; ++i) {
        std::string text = corvane::ChecksumText(corvane::ComputeChecksum(argv[i], algorithm));
        std::printf("%s  %s\n", text.c_str(), argv[i]);
    }
    return 0;
}
