#include "localization/StringTable.h"
#include "tests/support/TempDir.h"
#include "tests/tools/RunCommand.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

using test::RunCommand;

class FindCommand : public ::testing::Test {
protected:
    void SetUp() override { test::WriteFileBytes(path_, {'a', 'b', 'a', 'b', 'a', 0xC3, 0xA9, 'x'}); }
    test::CommandOutput Find(std::vector<std::u16string> args) {
        args.insert(args.begin(), path_);
        return RunCommand(cli::kFindCommand, std::move(args));
    }

    test::TempDir dir_;
    std::u16string path_ = dir_.File("f.bin");
};

TEST_F(FindCommand, PrintsTheNextMatch) {
    EXPECT_EQ(Find({u"--hex", u"61 62"}).out, "0x0\n");
    EXPECT_EQ(Find({u"--hex", u"6162", u"--from", u"1"}).out, "0x2\n");
    EXPECT_EQ(Find({u"--text", u"\u00E9"}).out, "0x5\n");
    EXPECT_EQ(Find({u"--text", u"\u00E9x "}).exitCode, 1);  // the space counts
}

TEST_F(FindCommand, ListsOverlappingMatchesInBothDirections) {
    EXPECT_EQ(Find({u"--text", u"aba", u"--all"}).out, "0x0\n0x2\n");
    EXPECT_EQ(Find({u"--text", u"aba", u"--all", u"--backward", u"--from", u"8"}).out, "0x2\n0x0\n");
    EXPECT_EQ(Find({u"--text", u"ab", u"--backward", u"--from", u"1"}).out, "0x0\n");
}

TEST_F(FindCommand, NoMatchExitsOne) {
    const auto result = Find({u"--text", u"\u00E9", u"--encoding", u"utf16le"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
}

TEST_F(FindCommand, BadQueriesExitTwoWithTheDialogsMessage) {
    auto result = Find({u"--hex", u"0x41"});
    EXPECT_EQ(result.exitCode, 2);
    StringTable strings;
    strings.SetLanguage(Language::English);
    EXPECT_EQ(result.err, "tavro-cli: " + platform::EncodeUtf8(strings.GetText("error.search_invalid_hex")) + "\n");
    result = Find({u"--text", u"\u00E9", u"--encoding", u"ascii"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("cannot represent"), std::string::npos);
    EXPECT_EQ(Find({u"--text", std::u16string(4097, u'a')}).exitCode, 2);
    EXPECT_EQ(Find({u"--text", u"a", u"--encoding", u"latin1"}).exitCode, 2);
    EXPECT_EQ(Find({u"--hex", u"61", u"--encoding", u"utf8"}).exitCode, 2);
    EXPECT_EQ(Find({}).exitCode, 2);
}

// Replace takes the matches left to right, none overlapping the one before, and saves.
TEST_F(FindCommand, ReplaceSavesTheMatchesReplaced) {
    using namespace std::string_literals;
    const auto replace = [&](std::vector<std::u16string> args) {
        args.insert(args.begin(), path_);
        return RunCommand(cli::kReplaceCommand, std::move(args));
    };
    const struct {
        std::vector<std::u16string> args;
        std::string out;
        std::string contents;  // afterwards
    } cases[] = {
        {{u"--text", u"aba", u"--with-text", u"X"}, "1\n", "Xba\xC3\xA9x"s},
        {{u"--hex", u"61", u"--with-hex", u"", u"--from", u"1"}, "2\n", "abb\xC3\xA9x"s},
        {{u"--text", u"\u00E9", u"--with-hex", u"00 01 02"}, "1\n", "ababa\x00\x01\x02x"s},
        {{u"--text", u"a", u"--with-text", u"\u00E9", u"--max", u"2"}, "2\n", "\xC3\xA9" "b\xC3\xA9" "ba\xC3\xA9x"s},
        {{u"--hex", u"62", u"--with-text", u"\u00E9", u"--encoding", u"utf16le"}, "2\n", "a\xE9\x00" "a\xE9\x00" "a\xC3\xA9x"s},
        {{u"--text", u"zz", u"--with-text", u"a"}, "0\n", "ababa\xC3\xA9x"s},  // exit code 1, the file untouched
    };
    for (const auto& c : cases) {
        SetUp();
        const auto result = replace(c.args);
        EXPECT_EQ(result.exitCode, c.out == "0\n" ? 1 : 0) << result.err;
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(test::ReadFileBytes(path_), test::Bytes(c.contents.begin(), c.contents.end())) << c.out;
    }
}

}  // namespace
}  // namespace tvx
