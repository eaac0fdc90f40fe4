#include "platform/digest.h"

#include <libdeflate.h>
#include <openssl/evp.h>

#include <new>

namespace corvane::platform {

namespace {

// The implementations are fetched once: an implicit fetch on every start would cost more than hashing a
// small file.
const EVP_MD* Algorithm(DigestKind kind) {
    static const EVP_MD* const md5 = EVP_MD_fetch(nullptr, "MD5", nullptr);
    static const EVP_MD* const sha1 = EVP_MD_fetch(nullptr, "SHA1", nullptr);
    static const EVP_MD* const sha256 = EVP_MD_fetch(nullptr, "SHA256", nullptr);
    static const EVP_MD* const sha512 = EVP_MD_fetch(nullptr, "SHA512", nullptr);
    switch (kind) {
        case DigestKind::MD5:
            return md5;
        case DigestKind::SHA1:
            return sha1;
        case DigestKind::SHA256:
            return sha256;
        case DigestKind::SHA512:
            return sha512;
    }
    return nullptr;
}

}  // namespace

struct Digest::Context {
    EVP_MD_CTX* ctx = nullptr;
    bool finished = false;
    ~Context() { EVP_MD_CTX_free(ctx); }
};

Digest::Digest(std::unique_ptr<Context> context) : context_(std::move(context)) {}

Digest::~Digest() = default;

std::unique_ptr<Digest> Digest::Start(DigestKind kind) {
    const EVP_MD* md = Algorithm(kind);
    if (!md) return nullptr;
    std::unique_ptr<Context> context(new (std::nothrow) Context);
    if (!context) return nullptr;
    context->ctx = EVP_MD_CTX_new();
    if (!context->ctx || EVP_DigestInit_ex(context->ctx, md, nullptr) != 1) return nullptr;
    std::unique_ptr<Digest> digest(new (std::nothrow) Digest(std::move(context)));
    return digest;
}

void Digest::Update(const void* data, size_t size) {
    if (!context_->finished && size > 0) EVP_DigestUpdate(context_->ctx, data, size);
}

std::string Digest::FinishHex() {
    unsigned char result[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (context_->finished || EVP_DigestFinal_ex(context_->ctx, result, &length) != 1) return {};
    context_->finished = true;
    return HexText(result, length);
}

size_t Digest::Length() const {
    return static_cast<size_t>(EVP_MD_CTX_get_size(context_->ctx));
}

// libdeflate's CRC-32 is zlib's, computed with the processor's carry-less multiply: four times as fast.
uint32_t Crc32(uint32_t crc, const void* data, size_t size) {
    return libdeflate_crc32(crc, data, size);
}

std::string HexText(const unsigned char* bytes, size_t size) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text(size * 2, '0');
    for (size_t i = 0; i < size; ++i) {
        text[2 * i] = kDigits[bytes[i] >> 4];
        text[2 * i + 1] = kDigits[bytes[i] & 0x0F];
    }
    return text;
}

}  // namespace corvane::platform
