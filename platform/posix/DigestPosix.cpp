// Hashes through OpenSSL's EVP interface.

#include "platform/Digest.h"

#include <openssl/evp.h>

#include <new>

namespace tvx::platform {

struct Digest::State {
    EVP_MD_CTX* context = nullptr;
    bool started = false;
    ~State() { EVP_MD_CTX_free(context); }
};

namespace {

const EVP_MD* Algorithm(DigestAlgorithm algorithm) {
    switch (algorithm) {
    case DigestAlgorithm::Md5:
        return EVP_md5();
    case DigestAlgorithm::Sha1:
        return EVP_sha1();
    case DigestAlgorithm::Sha256:
        return EVP_sha256();
    case DigestAlgorithm::Sha512:
        return EVP_sha512();
    }
    return nullptr;
}

}  // namespace

Digest::Digest() noexcept = default;
Digest::~Digest() = default;
Digest::Digest(Digest&& other) noexcept = default;
Digest& Digest::operator=(Digest&& other) noexcept = default;

bool Digest::Start(DigestAlgorithm algorithm) noexcept {
    if (!state_) {
        state_.reset(new (std::nothrow) State);
        if (!state_) return false;
    }
    state_->started = false;
    if (!state_->context) state_->context = EVP_MD_CTX_new();
    const EVP_MD* md = Algorithm(algorithm);
    if (!state_->context || !md || EVP_DigestInit_ex(state_->context, md, nullptr) != 1) return false;
    state_->started = true;
    return true;
}

bool Digest::Update(std::span<const std::uint8_t> bytes) noexcept {
    if (!state_ || !state_->started) return false;
    if (EVP_DigestUpdate(state_->context, bytes.data(), bytes.size()) == 1) return true;
    state_->started = false;
    return false;
}

bool Digest::Finish(std::vector<std::uint8_t>& digest) noexcept {
    if (!state_ || !state_->started) return false;
    state_->started = false;
    unsigned char value[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(state_->context, value, &length) != 1) return false;
    try {
        digest.assign(value, value + length);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace tvx::platform
