// ComputeChecksum as a command, for timing the whole process against `openssl dgst` and `cat`, warm or cold:
//
//   build/bench/hash_file ALGORITHM FILE...
//
// Prints the checksum text and the path of every file, one per line, as the list would show it.
#include <cstdio>

#include "engine/file_checksum.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s MD5|CRC32|SHA1|SHA256|SHA512 FILE...\n", argv[0]);
        return 2;
    }
    for (int i = 2; i < argc; ++i)
        std::printf("%s  %s\n", corvane::ComputeChecksum(argv[i], argv[1]).c_str(), argv[i]);
    return 0;
}
