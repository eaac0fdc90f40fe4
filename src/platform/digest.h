// Incremental message digests (MD5, SHA-1, SHA-256, SHA-512) and the CRC-32 as zlib computes it, behind a
// small interface of our own so that callers never see the libraries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace corvane::platform {

enum class DigestKind { MD5, SHA1, SHA256, SHA512 };

class Digest {
  public:
    // A started digest, or null when its context cannot be allocated or initialised.
    static std::unique_ptr<Digest> Start(DigestKind kind);
    ~Digest();
    Digest(const Digest&) = delete;
    Digest& operator=(const Digest&) = delete;

    void Update(const void* data, size_t size);
    // The digest of everything fed so far as lower-case hexadecimal (two digits per byte); "" on failure.
    // The digest cannot be fed afterwards.
    std::string FinishHex();
    // Digest length in bytes.
    size_t Length() const;

  private:
    struct Context;
    explicit Digest(std::unique_ptr<Context> context);
    std::unique_ptr<Context> context_;
};

// The standard CRC-32 (ISO 3309 / ITU-T V.42), the value of zlib's crc32, chained:
// Crc32(Crc32(0, a), b) == Crc32(0, a + b).
uint32_t Crc32(uint32_t crc, const void* data, size_t size);

// Bytes as lower-case hexadecimal, two digits each.
std::string HexText(const unsigned char* bytes, size_t size);

}  // namespace corvane::platform
