#pragma once
// Checksums of a range of a document: CRC-32 here, the cryptographic hashes by the platform.

#include "checksum/Crc32.h"
#include "document/DocumentInterfaces.h"
#include "platform/Digest.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

enum class ChecksumAlgorithm : std::uint8_t { Crc32, Md5, Sha1, Sha256, Sha512 };

inline constexpr ChecksumAlgorithm kChecksumAlgorithms[] = {ChecksumAlgorithm::Crc32, ChecksumAlgorithm::Md5,
                                                            ChecksumAlgorithm::Sha1, ChecksumAlgorithm::Sha256,
                                                            ChecksumAlgorithm::Sha512};

// "crc32", "md5", "sha1", "sha256", "sha512".
[[nodiscard]] std::string_view ChecksumName(ChecksumAlgorithm algorithm);
// The algorithm of one of those names (ASCII letters in any case).
[[nodiscard]] std::optional<ChecksumAlgorithm> ParseChecksumName(std::u16string_view name);

// Lowercase hexadecimal, two digits a byte.
[[nodiscard]] std::string LowerHex(std::span<const std::uint8_t> bytes);

// One checksum over bytes passed in pieces.
class Checksummer {
public:
    // False when the platform cannot compute the algorithm.
    [[nodiscard]] bool Start(ChecksumAlgorithm algorithm);
    [[nodiscard]] bool Update(std::span<const std::uint8_t> bytes);
    // The checksum in lowercase hexadecimal (CRC-32 as its 32-bit value, 8 digits).
    [[nodiscard]] std::optional<std::string> Finish();

private:
    ChecksumAlgorithm algorithm_ = ChecksumAlgorithm::Crc32;
    Crc32 crc_;
    bool crcStarted_ = false;
    platform::Digest digest_;
};

enum class ChecksumStatus : std::uint8_t { Done, Cancelled, ReadFailed, HashFailed };

struct ChecksumResult {
    ChecksumStatus status = ChecksumStatus::Done;
    std::vector<std::string> digests;  // in the order of the algorithms asked for, when Done
    std::uint64_t failedAt = 0;        // ReadFailed: the first byte that could not be read
};

// Returning false stops the computation (status Cancelled). Called once per block.
using ChecksumContinueCheck = std::function<bool()>;

constexpr std::uint64_t kChecksumBlockSize = 1 << 20;

// The checksums of [offset, offset + length) of the document as it reads now, in blocks of
// kChecksumBlockSize. The range must lie within the document; bytes it cannot deliver give
// ReadFailed. Progress counts the bytes done of length.
[[nodiscard]] ChecksumResult ComputeChecksums(const IReadOnlyDocument& document, std::uint64_t offset,
                                              std::uint64_t length, std::span<const ChecksumAlgorithm> algorithms,
                                              const ChecksumContinueCheck& keepGoing,
                                              const ProgressCallback& progress);

}  // namespace tvx
