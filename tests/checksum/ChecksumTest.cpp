#include "checksum/Checksum.h"
#include "tests/search/MemoryDocument.h"

#include <gtest/gtest.h>

#include <random>

namespace tvx {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }

std::vector<std::string> AllChecksums(const Bytes& bytes, std::uint64_t offset, std::uint64_t length) {
    const test::MemoryDocument document(bytes);
    const ChecksumResult result = ComputeChecksums(document, offset, length, kChecksumAlgorithms, {}, {});
    EXPECT_EQ(result.status, ChecksumStatus::Done);
    return result.digests;
}

// The same checksums computed with Update called once per piece of the given size.
std::vector<std::string> PieceByPiece(std::span<const std::uint8_t> bytes, std::size_t piece) {
    std::vector<std::string> digests;
    for (const ChecksumAlgorithm algorithm : kChecksumAlgorithms) {
        Checksummer checksummer;
        EXPECT_TRUE(checksummer.Start(algorithm));
        for (std::size_t at = 0; at < bytes.size(); at += piece)
            EXPECT_TRUE(checksummer.Update(bytes.subspan(at, std::min(piece, bytes.size() - at))));
        digests.push_back(checksummer.Finish().value_or("failed"));
    }
    return digests;
}

TEST(Checksum, PublishedTestVectors) {
    const struct {
        Bytes input;
        std::vector<std::string> digests;  // CRC-32, MD5, SHA-1, SHA-256, SHA-512
    } cases[] = {
        {{},
         {"00000000", "d41d8cd98f00b204e9800998ecf8427e", "da39a3ee5e6b4b0d3255bfef95601890afd80709",
          "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855",
          "cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce47d0d13c5d85f2b0ff8318d2877eec2f63b931bd"
          "47417a81a538327af927da3e"}},
        {Text("abc"),
         {"352441c2", "900150983cd24fb0d6963f7d28e17f72", "a9993e364706816aba3e25717850c26c9cd0d89d",
          "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad",
          "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3feebbd454d44"
          "23643ce80e2a9ac94fa54ca49f"}},
        {Text("123456789"),
         {"cbf43926", "25f9e794323b453885f5181f1b624d0b", "f7c3bc1d808e04732adf679965ccc34ca7ae3441",
          "15e2b0d3c33891ebb0f1ef609ec419420c20e320ce94c65fbc8c3312448eb225",
          "d9e6762dd1c8eaf6d61b3c6192fc408d4d6d5f1176d0c29169bc24e71c3f274ad27fcd5811b313d681f7e55ec02d73d499c954"
          "55b6b5bb503acf574fba8ffe85"}},
        {Bytes(1000000, 'a'),
         {"dc25bfbc", "7707d6ae4e027c70eea2a935c2296f21", "34aa973cd4c4daa4f61eeb2bdbad27316534016f",
          "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0",
          "e718483d0ce769644e2e42c7bc15b4638e1f98b13b2044285632a803afa973ebde0ff244877ea60a4cb0432ce577c31beb009c"
          "5c2c49aa2e4eadb217ad8cc09b"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AllChecksums(c.input, 0, c.input.size()), c.digests);
        // Pieces of seven bytes reach the CRC's tail path; the million bytes go in seven pieces.
        EXPECT_EQ(PieceByPiece(c.input, std::max<std::size_t>(7, c.input.size() / 7)), c.digests);
    }
}

TEST(Checksum, ARangeReadInBlocksEqualsItsBytesInOnePiece) {
    Bytes bytes(2 * kChecksumBlockSize + 1000);
    std::mt19937 random(7);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
    const std::uint64_t offset = 3, length = bytes.size() - 10;
    EXPECT_EQ(AllChecksums(bytes, offset, length), PieceByPiece(std::span(bytes).subspan(offset, length), length));
}

TEST(Checksum, CancelAndShortReadsGiveNoDigests) {
    const test::MemoryDocument document(Bytes(3 * kChecksumBlockSize, 1));
    const ChecksumAlgorithm sha256[] = {ChecksumAlgorithm::Sha256};
    int checks = 0;
    std::size_t lastDone = 0;
    const ChecksumResult cancelled = ComputeChecksums(
        document, 0, document.GetSize(), sha256, [&] { return ++checks < 3; },
        [&](std::size_t done, std::size_t) { lastDone = done; });
    EXPECT_EQ(cancelled.status, ChecksumStatus::Cancelled);
    EXPECT_TRUE(cancelled.digests.empty());
    EXPECT_EQ(lastDone, 2 * kChecksumBlockSize);  // two blocks done before the third check stopped it

    const ChecksumResult past = ComputeChecksums(document, 5, document.GetSize(), sha256, {}, {});
    EXPECT_EQ(past.status, ChecksumStatus::ReadFailed);
    EXPECT_EQ(past.failedAt, document.GetSize());
    EXPECT_TRUE(past.digests.empty());
}

}  // namespace
}  // namespace tvx
