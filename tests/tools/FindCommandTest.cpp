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

}  // namespace
}  // namespace tvx
