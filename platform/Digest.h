#pragma once
// Cryptographic hashes by the system's own implementation: CNG (BCrypt) on Windows, OpenSSL's
// libcrypto (EVP) elsewhere. Both give the same digests.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace tvx::platform {

enum class DigestAlgorithm : std::uint8_t { Md5, Sha1, Sha256, Sha512 };

// One hash computation at a time. Move-only. Every call returns false when the system fails
// (or when Update or Finish come without a successful Start); the digest is then unusable.
class Digest {
public:
    Digest() noexcept;
    ~Digest();
    Digest(Digest&& other) noexcept;
    Digest& operator=(Digest&& other) noexcept;
    Digest(const Digest&) = delete;
    Digest& operator=(const Digest&) = delete;

    // Begins a new hash, dropping any unfinished one.
    [[nodiscard]] bool Start(DigestAlgorithm algorithm) noexcept;
    [[nodiscard]] bool Update(std::span<const std::uint8_t> bytes) noexcept;
    // The digest of everything passed to Update since Start; Start must come before more use.
    [[nodiscard]] bool Finish(std::vector<std::uint8_t>& digest) noexcept;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace tvx::platform
