#include "checksum/Checksum.h"

#include <algorithm>

namespace tvx {
namespace {

platform::DigestAlgorithm PlatformAlgorithm(ChecksumAlgorithm algorithm) {
    switch (algorithm) {
    case ChecksumAlgorithm::Md5:
        return platform::DigestAlgorithm::Md5;
    case ChecksumAlgorithm::Sha1:
        return platform::DigestAlgorithm::Sha1;
    case ChecksumAlgorithm::Sha512:
        return platform::DigestAlgorithm::Sha512;
    case ChecksumAlgorithm::Crc32:
    case ChecksumAlgorithm::Sha256:
        break;
    }
    return platform::DigestAlgorithm::Sha256;
}

}  // namespace

std::string_view ChecksumName(ChecksumAlgorithm algorithm) {
    switch (algorithm) {
    case ChecksumAlgorithm::Crc32:
        return "crc32";
    case ChecksumAlgorithm::Md5:
        return "md5";
    case ChecksumAlgorithm::Sha1:
        return "sha1";
    case ChecksumAlgorithm::Sha256:
        return "sha256";
    case ChecksumAlgorithm::Sha512:
        return "sha512";
    }
    return "";
}

std::optional<ChecksumAlgorithm> ParseChecksumName(std::u16string_view name) {
    for (const ChecksumAlgorithm algorithm : kChecksumAlgorithms) {
        const std::string_view known = ChecksumName(algorithm);
        const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
        if (std::equal(name.begin(), name.end(), known.begin(), known.end(),
                       [&](char16_t a, char b) { return lower(a) == static_cast<char16_t>(b); }))
            return algorithm;
    }
    return std::nullopt;
}

std::string LowerHex(std::span<const std::uint8_t> bytes) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

bool Checksummer::Start(ChecksumAlgorithm algorithm) {
    algorithm_ = algorithm;
    crc_ = Crc32{};
    crcStarted_ = algorithm == ChecksumAlgorithm::Crc32;
    return crcStarted_ || digest_.Start(PlatformAlgorithm(algorithm));
}

bool Checksummer::Update(std::span<const std::uint8_t> bytes) {
    if (algorithm_ != ChecksumAlgorithm::Crc32) return digest_.Update(bytes);
    if (!crcStarted_) return false;
    crc_.Update(bytes);
    return true;
}

std::optional<std::string> Checksummer::Finish() {
    if (algorithm_ == ChecksumAlgorithm::Crc32) {
        if (!crcStarted_) return std::nullopt;
        crcStarted_ = false;
        const std::uint32_t value = crc_.Value();
        const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                                       static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
        return LowerHex(bytes);
    }
    std::vector<std::uint8_t> value;
    if (!digest_.Finish(value)) return std::nullopt;
    return LowerHex(value);
}

ChecksumResult ComputeChecksums(const IReadOnlyDocument& document, std::uint64_t offset, std::uint64_t length,
                                std::span<const ChecksumAlgorithm> algorithms, const ChecksumContinueCheck& keepGoing,
                                const ProgressCallback& progress) {
    ChecksumResult result;
    std::vector<Checksummer> checksummers(algorithms.size());
    for (std::size_t i = 0; i < algorithms.size(); ++i) {
        if (!checksummers[i].Start(algorithms[i])) {
            result.status = ChecksumStatus::HashFailed;
            return result;
        }
    }
    const std::size_t total = static_cast<std::size_t>(std::max<std::uint64_t>(length, 1));
    for (std::uint64_t done = 0; done < length;) {
        if (keepGoing && !keepGoing()) {
            result.status = ChecksumStatus::Cancelled;
            return result;
        }
        const std::uint64_t wanted = std::min(kChecksumBlockSize, length - done);
        const ByteBlock block = document.ReadBytes(offset + done, wanted);
        for (Checksummer& checksummer : checksummers) {
            if (!checksummer.Update(block.bytes)) {
                result.status = ChecksumStatus::HashFailed;
                return result;
            }
        }
        if (block.bytes.size() != wanted) {
            result.status = ChecksumStatus::ReadFailed;
            result.failedAt = offset + done + block.bytes.size();
            return result;
        }
        done += wanted;
        if (progress) progress(static_cast<std::size_t>(done), total);
    }
    for (Checksummer& checksummer : checksummers) {
        std::optional<std::string> digest = checksummer.Finish();
        if (!digest) {
            result.status = ChecksumStatus::HashFailed;
            result.digests.clear();
            return result;
        }
        result.digests.push_back(std::move(*digest));
    }
    if (progress) progress(total, total);
    return result;
}

}  // namespace tvx
