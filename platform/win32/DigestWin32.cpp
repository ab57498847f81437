// Hashes through CNG: one algorithm provider per algorithm, opened on first use and kept for
// the life of the process, and one hash object per computation.

#include "platform/Digest.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <limits>
#include <mutex>
#include <new>

namespace tvx::platform {

struct Digest::State {
    BCRYPT_HASH_HANDLE hash = nullptr;
    DWORD length = 0;
    ~State() {
        if (hash) BCryptDestroyHash(hash);
    }
};

namespace {

constexpr std::size_t kAlgorithmCount = 4;

BCRYPT_ALG_HANDLE Provider(DigestAlgorithm algorithm) {
    static const wchar_t* const kNames[kAlgorithmCount] = {BCRYPT_MD5_ALGORITHM, BCRYPT_SHA1_ALGORITHM,
                                                           BCRYPT_SHA256_ALGORITHM, BCRYPT_SHA512_ALGORITHM};
    static BCRYPT_ALG_HANDLE providers[kAlgorithmCount] = {};
    static std::mutex mutex;
    const auto index = static_cast<std::size_t>(algorithm);
    if (index >= kAlgorithmCount) return nullptr;
    const std::lock_guard lock(mutex);
    if (!providers[index] && !BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&providers[index], kNames[index], nullptr, 0)))
        providers[index] = nullptr;
    return providers[index];
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
    if (state_->hash) {
        BCryptDestroyHash(state_->hash);
        state_->hash = nullptr;
    }
    BCRYPT_ALG_HANDLE provider = Provider(algorithm);
    if (!provider) return false;
    DWORD length = 0;
    ULONG written = 0;
    if (!BCRYPT_SUCCESS(BCryptGetProperty(provider, BCRYPT_HASH_LENGTH, reinterpret_cast<PUCHAR>(&length),
                                          sizeof length, &written, 0)))
        return false;
    // With no object buffer, CNG allocates and frees the hash object itself.
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!BCRYPT_SUCCESS(BCryptCreateHash(provider, &hash, nullptr, 0, nullptr, 0, 0))) return false;
    state_->hash = hash;
    state_->length = length;
    return true;
}

bool Digest::Update(std::span<const std::uint8_t> bytes) noexcept {
    if (!state_ || !state_->hash) return false;
    // BCryptHashData takes a 32-bit count.
    while (!bytes.empty()) {
        const std::size_t chunk = std::min<std::size_t>(bytes.size(), std::numeric_limits<ULONG>::max());
        if (!BCRYPT_SUCCESS(BCryptHashData(state_->hash, const_cast<PUCHAR>(bytes.data()), static_cast<ULONG>(chunk), 0))) {
            BCryptDestroyHash(state_->hash);
            state_->hash = nullptr;
            return false;
        }
        bytes = bytes.subspan(chunk);
    }
    return true;
}

bool Digest::Finish(std::vector<std::uint8_t>& digest) noexcept {
    if (!state_ || !state_->hash) return false;
    UCHAR value[64];
    const bool ok = state_->length <= sizeof value &&
                    BCRYPT_SUCCESS(BCryptFinishHash(state_->hash, value, state_->length, 0));
    BCryptDestroyHash(state_->hash);
    state_->hash = nullptr;
    if (!ok) return false;
    try {
        digest.assign(value, value + state_->length);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace tvx::platform
