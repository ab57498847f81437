#include "tests/support/TempDir.h"
#include "tests/tools/RunCommand.h"

#include <gtest/gtest.h>

#include "platform/Interrupt.h"

#include <csignal>
#include <random>
#include <utility>

namespace tvx {
namespace {

using test::Bytes;
using test::RunCommand;

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(value));
    return text;
}

// The operations applied to a plain byte vector with a list of the states before, false
// when one does not fit.
struct ByteModel {
    Bytes bytes;
    std::vector<Bytes> undo, redo;
    void Record() {
        undo.push_back(bytes);
        redo.clear();
    }
    bool Step(std::vector<Bytes>& from, std::vector<Bytes>& to) {
        if (from.empty()) return false;
        to.push_back(std::exchange(bytes, from.back()));
        from.pop_back();
        return true;
    }
    bool Overwrite(std::uint64_t at, const Bytes& values) {
        if (at + values.size() > bytes.size()) return false;
        Record();
        std::copy(values.begin(), values.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
        return true;
    }
    bool Insert(std::uint64_t at, const Bytes& values) {
        if (at > bytes.size()) return false;
        Record();
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), values.begin(), values.end());
        return true;
    }
    bool Delete(std::uint64_t at, std::uint64_t count) {
        if (at + count > bytes.size()) return false;
        Record();
        bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + count));
        return true;
    }
};

TEST(PatchCommand, MatchesAByteModelForRandomOperations) {
    std::mt19937_64 random(42);
    int inPlace = 0, replaced = 0, refused = 0;
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        test::TempDir dir;
        const auto path = dir.File("f.bin");
        Bytes original(random() % 64);
        for (auto& byte : original) byte = static_cast<std::uint8_t>(random());
        test::WriteFileBytes(path, original);

        ByteModel model{original, {}, {}};
        bool fits = true;
        std::vector<std::u16string> args{path};
        const int operations = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < operations; ++i) {
            const std::uint64_t at = random() % (model.bytes.size() + 3);
            Bytes values(1 + random() % 3);
            std::string hex;
            for (auto& value : values) {
                value = static_cast<std::uint8_t>(random());
                char cell[3];
                std::snprintf(cell, sizeof cell, "%02x", value);
                hex += cell;
            }
            // Rounds of overwrites only, with inserts and deletes, and with undo and redo too.
            const auto kind = random() % (round % 3 == 0 ? 1 : round % 3 == 1 ? 3 : 5);
            if (kind == 0) {
                args.push_back(Wide("ow:0x" + Hex(at) + ":" + hex));
                fits = fits && model.Overwrite(at, values);
            } else if (kind == 1) {
                args.push_back(Wide("ins:" + Hex(at) + ":" + hex));
                fits = fits && model.Insert(at, values);
            } else if (kind == 2) {
                args.push_back(Wide("del:" + Hex(at) + ":" + std::to_string(values.size())));
                fits = fits && model.Delete(at, values.size());
            } else {
                args.push_back(kind == 3 ? u"undo" : u"redo");
                fits = fits && (kind == 3 ? model.Step(model.undo, model.redo) : model.Step(model.redo, model.undo));
            }
        }

        const auto result = RunCommand(cli::kPatchCommand, args);
        if (!fits) {
            ++refused;
            EXPECT_EQ(result.exitCode, 1) << result.err;
            EXPECT_NE(result.err.find("not changed"), std::string::npos);
            EXPECT_EQ(test::ReadFileBytes(path), original);
        } else {
            EXPECT_EQ(result.exitCode, 0) << result.err;
            EXPECT_EQ(test::ReadFileBytes(path), model.bytes);
            EXPECT_NE(result.out.find("new size " + std::to_string(model.bytes.size()) + " bytes"), std::string::npos)
                << result.out;
            (result.out.starts_with("patched in place") ? inPlace : replaced)++;
        }
        EXPECT_EQ(dir.List(), std::vector<std::string>{"f.bin"});
    }
    // The random mix reaches every outcome.
    EXPECT_GT(inPlace, 20);
    EXPECT_GT(replaced, 20);
    EXPECT_GT(refused, 20);
}

TEST(PatchCommand, TellsWhichWriterSaved) {
    test::TempDir dir;
    const auto path = dir.File("f.bin");
    test::WriteFileBytes(path, {1, 2, 3});
    auto result = RunCommand(cli::kPatchCommand, {path, u"ow:1:FF", u"ins:3:0405"});
    EXPECT_EQ(result.out, "patched in place, new size 5 bytes\n");
    result = RunCommand(cli::kPatchCommand, {path, u"del:0:1"});
    EXPECT_EQ(result.out, "replaced through a temporary file, new size 4 bytes\n");
    EXPECT_EQ(test::ReadFileBytes(path), Bytes({0xFF, 3, 4, 5}));
}

TEST(PatchCommand, RejectsMalformedArgumentsWithUsage) {
    test::TempDir dir;
    const auto path = dir.File("f.bin");
    test::WriteFileBytes(path, {1, 2, 3});
    for (const char16_t* op : {u"ow:1:F", u"ow:1:", u"ow:x:00", u"del:0:-1", u"del:0:1x", u"xx:0:00",
                                     u"ow:12345678901234567:00", u"ins:0"}) {
        const auto result = RunCommand(cli::kPatchCommand, {path, op});
        EXPECT_EQ(result.exitCode, 2) << platform::EncodeUtf8(op);
        EXPECT_NE(result.err.find("usage: tavro-cli patch"), std::string::npos);
    }
    EXPECT_EQ(RunCommand(cli::kPatchCommand, {path}).exitCode, 2);
    EXPECT_EQ(test::ReadFileBytes(path), Bytes({1, 2, 3}));
}

TEST(PatchCommand, MissingFileFails) {
    test::TempDir dir;
    const auto result = RunCommand(cli::kPatchCommand, {dir.File("missing"), u"ow:0:00"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("cannot open"), std::string::npos);
    EXPECT_TRUE(dir.List().empty());
}

// --output writes the result to another file; a signal during a save stops it, leaving the
// file as it was and no temporary file.
TEST(PatchCommand, WritesElsewhereAndStopsOnASignal) {
    test::TempDir dir;
    const auto path = dir.File("f.bin"), output = dir.File("out.bin");
    test::WriteFileBytes(path, {1, 2, 3});
    auto result = RunCommand(cli::kPatchCommand, {path, u"--output", output, u"ins:1:FF"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(test::ReadFileBytes(output), Bytes({1, 0xFF, 2, 3}));
    EXPECT_EQ(test::ReadFileBytes(path), Bytes({1, 2, 3}));
#ifndef _WIN32
    platform::CatchInterrupts();
    for (const int signal : {SIGINT, SIGTERM}) {
        std::raise(signal);  // arrives before the save's first block is written
        result = RunCommand(cli::kPatchCommand, {path, u"ins:1:FF"});
        platform::ClearInterrupt();
        EXPECT_EQ(result.exitCode, 128 + signal);
        EXPECT_NE(result.err.find("interrupted; "), std::string::npos) << result.err;
        EXPECT_EQ(test::ReadFileBytes(path), Bytes({1, 2, 3}));
        EXPECT_EQ(dir.List(), (std::vector<std::string>{"f.bin", "out.bin"}));
    }
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
#endif
}

}  // namespace
}  // namespace tvx
