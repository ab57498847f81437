// tavro-cli's commands, run in process: one table of arguments, exit code, standard output and
// standard error for every command, with every file left as it was unless the row changes it;
// the patch command against a byte model; signals during a save.

#include "localization/StringTable.h"
#include "platform/AppLocation.h"
#include "platform/CommandLine.h"
#include "platform/Interrupt.h"
#include "platform/Utf8.h"
#include "settings/SettingsLifecycle.h"
#include "tests/structpattern/SampleFiles.h"
#include "tests/support/TempDir.h"
#include "tools/tavro-cli/Command.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <optional>
#include <random>
#include <sstream>

#ifndef _WIN32
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#endif

namespace tvx {
namespace {

using namespace std::string_literals;
using test::Bytes;
using testing::AllOf;
using testing::EndsWith;
using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;

struct Output {
    int exitCode;
    std::string out, err;
};

Output RunCommand(const cli::Command& command, std::vector<std::u16string> args) {
    std::ostringstream out, err;
    cli::CommandContext context{std::move(args), out, err};
    const int exitCode = command.run(context);
    return {exitCode, out.str(), err.str()};
}

Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

struct Row {
    const cli::Command& command;
    std::vector<std::u16string> args;
    int exitCode;
    testing::Matcher<const std::string&> out, err;
    std::optional<std::string> after = {};  // the first argument's file afterwards, when changed
    bool help = false;  // whether an option asks for the command's usage instead
};

// Each row runs on the same files; one that changes its first argument's file restores it.
TEST(TavroCli, EveryCommandsOutputExitCodeAndMessages) {
    test::TempDir dir;
    const auto F = [&dir](const std::string& name) { return dir.File(name); };
    const std::map<std::string, std::string> files = {
        {"f.bin", "\x01\x02\x03"},
        {"d.bin", "\x00\x11\x22\x33\x44\x55\x66\x77\x88\x99\xAA\xBB\xCC\xDD\xEE\xFF\x10\x21\x32\x43"s},
        {"t.txt", "A\xE3\x81\x82" "e\xCC\x81\xC0\x80"},
        {"w.bin", "ababa\xC3\xA9x"},
        {"h.bin", "xabcx"},
        {"i.bin", "ABCDEFGH"},
        {"e.bin", "ABCDEFG\xC3\xA9"},
        {"c.bin", "\x1B["},
        {"p.tvsd", "struct Rec { char tag[4]; uint16_t n; char rest[]; };"},
        {"r.bin", "\xEE" "ABC\0\x12\x34xy"s},
        {"bad.tvsd", "struct S {\r\n  int a, b;\r\n};\r\n"},
        {"pic.bmp", [] { const Bytes b = test::MakeBmp(37, 21, 32); return std::string(b.begin(), b.end()); }()},
        {"full.json", "\xEF\xBB\xBF{\n\"theme\": \"Black\", \"font\": {\"family\": \"Mono\", \"size\": 10.5, \"italic\": true},\n"
                      "\"recentFiles\": [\"C:\\\\a\\tb.bin\", \"d.bin\"],\n"
                      "\"searchHistory\": [{\"kind\": \"hex\", \"query\": \"4D 5A\"}], \"appVersion\": \"v1.02\"}\n"},
        {"old.json", "{\"appVersion\": \"v1.01\"}"},
        {"odd.json", "{\"theme\": \"Black\", \"list\": [1, {\"a\": [true, null]}], \"n\": -1.5e3}"},
        {"drak.json", "{\"theme\": \"drak\"}"},
        {"endian.json", "{\"analysis\": {\"structView\": {\"endian\": \"middle\"}}}"},
        {"cut.json", "{\"theme\": \"Black\", \"font\": {"},
        {"junk.json", "\x1B[2J garbage"},
    };
    for (const auto& [name, contents] : files) test::WriteFileBytes(F(name), AsBytes(contents));
    std::filesystem::create_directory(dir.Path() / "sub");
    const char16_t undecodable[] = {u'-', u'x', 0xDCFF, 0}, loneHigh[] = {u'a', 0xD800, u'b', 0};
    const std::u16string max = u"FFFFFFFFFFFFFFFF";
    const std::string pastEnd = "is past the end of the file (3 bytes)";
    const auto usage = [](const std::string& name) { return HasSubstr("usage: tavro-cli " + name); };
    StringTable strings;
    strings.SetLanguage(Language::English);
    const std::string invalidHex = platform::EncodeUtf8(strings.GetText("error.search_invalid_hex"));
    const std::string na = "\tn/a\n";
    const auto& dump = cli::kDumpCommand;
    const auto& find = cli::kFindCommand;
    const auto& replace = cli::kReplaceCommand;
    const auto& hash = cli::kHashCommand;
    const auto& inspect = cli::kInspectCommand;
    const auto& structure = cli::kStructCommand;
    const auto& settings = cli::kSettingsCommand;
    const auto& patch = cli::kPatchCommand;
    const Row rows[] = {
        {dump, {F("d.bin"), u"--offset", u"0x2", u"--length", u"17"}, 0,
         "00000002: 22 33 44 55 66 77 88 99 AA BB CC DD EE FF 10 21\n00000012: 32\n", ""},
        {dump, {F("d.bin"), u"--tsv", u"--offset", u"10"}, 0, "00000010:\t10\t21\t32\t43\n", ""},
        {dump, {F("f.bin"), u"--offset", u"3"}, 0, "", ""},  // the size itself is the end
        {dump, {F("t.txt"), u"--encoding", u"utf8"}, 0, "00000000: 41 E3 81 82 65 CC 81 C0 80  A\u3042e\u0301..\n", ""},
        {dump, {F("t.txt"), u"--encoding", u"utf16le", u"--tsv", u"--length", u"2"}, 0, "00000000:\t41\tE3\t\uE341\t\n", ""},
        {dump, {F("t.txt"), u"--encoding", u"latin1"}, 2, "", usage("dump")},
        {dump, {}, 2, "", usage("dump")},
        {dump, {F("missing")}, 1, "", HasSubstr("missing': ")},  // the system's reason follows
        {dump, {F("f.bin"), u"--offset", u"4"}, 1, "", HasSubstr("offset 0x4 " + pastEnd)},
        {dump, {F("f.bin"), u"--offset", u"0x10000000000000000"}, 2, "", HasSubstr("invalid offset '0x10000000000000000'")},
        {dump, {F("f.bin"), u"-x"}, 2, "", HasSubstr("unexpected argument '-x'")},
        {dump, {u"--", undecodable}, 1, "", HasSubstr("cannot open '-x\\xFF': ")},  // after "--", a file name
        {dump, {F("f.bin"), u"-h"}, 2, "", HasSubstr("unexpected argument '-h'"), {}, true},
        {dump, {u"--", u"-h"}, 1, "", HasSubstr("cannot open '-h': ")},  // a file named -h
        // Names are shown with what would drive the terminal or hide text escaped: C0 (tabs and
        // line breaks too, one TSV field), DEL and C1, lone surrogates, bidirectional overrides,
        // separators, zero-width and tag characters; the rest as it is.
        {dump, {u"\x1B]0;title\x07\t\n"}, 1, "", HasSubstr("open '\\x1B]0;title\\x07\\x09\\x0A': ")},
        {dump, {u"\x7F\u0085\u009B"}, 1, "", HasSubstr("open '\\x7F\\x85\\x9B': ")},
        {dump, {loneHigh}, 1, "", HasSubstr("open 'a\\u{D800}b': ")},
        {dump, {u"\u202Eabc\u2069\u2028\u200B\U000E0041"}, 1, "",
         HasSubstr("open '\\u{202E}abc\\u{2069}\\u{2028}\\u{200B}\\u{E0041}': ")},
        {dump, {u"\u65E5\u672C \\x41 \u00E9 \U0001F600"}, 1, "",
         HasSubstr("open '\xE6\x97\xA5\xE6\x9C\xAC \\x41 \xC3\xA9 \xF0\x9F\x98\x80': ")},

        {find, {F("w.bin"), u"--hex", u"61 62", u"--from", u"1"}, 0, "0x2\n", ""},
        {find, {F("w.bin"), u"--text", u"\u00E9"}, 0, "0x5\n", ""},
        {find, {F("w.bin"), u"--text", u"aba", u"--all"}, 0, "0x0\n0x2\n", ""},  // overlapping
        {find, {F("w.bin"), u"--text", u"aba", u"--all", u"--backward", u"--from", u"8"}, 0, "0x2\n0x0\n", ""},
        {find, {F("w.bin"), u"--text", u"ab", u"--backward", u"--from", u"1"}, 0, "0x0\n", ""},
        {find, {F("w.bin"), u"--text", u"\u00E9", u"--encoding", u"utf16le"}, 1, "", ""},
        {find, {F("w.bin"), u"--text", u"-h"}, 1, "", ""},  // the query
        {find, {F("w.bin"), u"--hex", u"0x41"}, 2, "", "tavro-cli: " + invalidHex + "\n"},  // the dialog's message
        {find, {F("w.bin"), u"--text", u"\u00E9", u"--encoding", u"ascii"}, 2, "", HasSubstr("cannot represent")},
        {find, {F("w.bin"), u"--text", std::u16string(4097, u'a')}, 2, "", Not("")},
        {find, {F("w.bin"), u"--text", u"a", u"--encoding", u"latin1"}, 2, "", usage("find")},
        {find, {F("w.bin"), u"--hex", u"61", u"--encoding", u"utf8"}, 2, "", usage("find")},
        {find, {F("w.bin")}, 2, "", usage("find")},
        {find, {F("f.bin"), u"--hex", u"01", u"--from", u"4"}, 1, "", HasSubstr("offset 0x4 " + pastEnd)},
        {find, {F("f.bin"), u"--text", undecodable}, 2, "", HasSubstr("not valid UTF-8; give its bytes with --hex")},
        {find, {F("f.bin"), u"--text"}, 2, "", HasSubstr("expected a value after '--text'")},
        {find, {F("f.bin"), u"--hex", u"01", u"--text", u"a"}, 2, "", HasSubstr("expected one query")},

        // Matches left to right, none overlapping the one before.
        {replace, {F("w.bin"), u"--text", u"aba", u"--with-text", u"X"}, 0, "1\n", "", "Xba\xC3\xA9x"},
        {replace, {F("w.bin"), u"--hex", u"61", u"--with-hex", u"", u"--from", u"1"}, 0, "2\n", "", "abb\xC3\xA9x"},
        {replace, {F("w.bin"), u"--text", u"\u00E9", u"--with-hex", u"00 01 02"}, 0, "1\n", "", "ababa\x00\x01\x02x"s},
        {replace, {F("w.bin"), u"--text", u"a", u"--with-text", u"\u00E9", u"--max", u"2"}, 0, "2\n", "",
         "\xC3\xA9" "b\xC3\xA9" "ba\xC3\xA9x"},
        {replace, {F("w.bin"), u"--hex", u"62", u"--with-text", u"\u00E9", u"--encoding", u"utf16le"}, 0, "2\n", "",
         "a\xE9\x00" "a\xE9\x00" "a\xC3\xA9x"s},
        {replace, {F("w.bin"), u"--text", u"zz", u"--with-text", u"a"}, 1, "0\n", ""},
        {replace, {F("f.bin"), u"--hex", u"01", u"--with-hex", u"02", u"--from", u"4"}, 1, "", HasSubstr("offset 0x4 " + pastEnd)},
        {replace, {F("f.bin"), u"--hex", u"", u"--with-hex", u"02"}, 2, "", HasSubstr("pairs of hexadecimal digits")},
        {replace, {F("f.bin"), u"--hex", u"01", u"--with-hex", u"0"}, 2, "", HasSubstr("pairs of hexadecimal digits")},
        {replace, {F("f.bin"), u"--hex", u"01"}, 2, "", HasSubstr("expected a file, --hex or --text, and --with-hex")},
        {replace, {F("f.bin"), u"--text", u"a", u"--with-text", undecodable}, 2, "",
         HasSubstr("the --with-text value is not valid UTF-8; give its bytes with --with-hex")},
        {replace, {F("f.bin"), u"--hex", u"01", u"--with-hex", u"02", u"--max", u"-1"}, 2, "", HasSubstr("invalid count '-1'")},

        // Each algorithm once, in the order asked, over the range.
        {hash, {F("h.bin"), u"--offset", u"1", u"--length", u"3", u"--algorithm", u"crc32", u"--algorithm", u"SHA1",
                u"--algorithm", u"crc32"},
         0, "crc32  352441c2\nsha1  a9993e364706816aba3e25717850c26c9cd0d89d\n", ""},
        {hash, {F("h.bin"), u"--offset", u"5"}, 0,
         "sha256  e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855\n", ""},
        {hash, {F("f.bin"), u"--offset", u"4"}, 1, "", HasSubstr("offset 0x4 " + pastEnd)},
        {hash, {F("f.bin"), u"--algorithm", u"sha3"}, 2, "", HasSubstr("unknown algorithm 'sha3'")},
        {hash, {F("f.bin"), u"--length", u"0x10"}, 2, "", HasSubstr("invalid length '0x10'")},
        {hash, {u"--algorithm", u"md5"}, 2, "", HasSubstr("expected a file")},

        // Labels padded to one column; the values are the inspector's (tests/inspector).
        {inspect, {F("i.bin"), u"0"}, 0,
         AllOf(StartsWith("Binary     0b0100_0001\nUInt8      0x41 / 65\nUInt16 LE  0x4241 / 16961\n"),
               EndsWith("UTF-8      A (U+0041)\nUTF-16 LE  n/a\nUTF-16 BE  n/a\n")),
         ""},
        {inspect, {u"--tsv", F("e.bin"), u"0x7"}, 0,
         AllOf(StartsWith("Binary\t0b1100_0011\n"), HasSubstr("\nUInt32 LE" + na), HasSubstr("\nUTF-8\t\xC3\xA9 (U+00E9)\n")), ""},
        {inspect, {F("e.bin"), u"9", u"--tsv"}, 0, AllOf(StartsWith("Binary" + na), EndsWith("\nUTF-16 BE" + na)), ""},
        // A raw control character would reach the terminal; it is written as an escape.
        {inspect, {F("c.bin"), u"0", u"--tsv"}, 0, AllOf(HasSubstr("UTF-8\t\\x1B (U+001B)\n"), Not(HasSubstr("\x1B"))), ""},
        {inspect, {F("sub"), u"0"}, 1, "", HasSubstr("sub': it is a directory")},
        {inspect, {F("f.bin"), u"4"}, 1, "", HasSubstr("offset 0x4 " + pastEnd)},
        {inspect, {F("f.bin"), u"zz"}, 2, "", HasSubstr("invalid offset 'zz'")},
        {inspect, {F("f.bin"), u"0", u"--csv"}, 2, "", HasSubstr("unexpected argument '--csv'")},

        {structure, {u"patterns/bmp.tvsd", F("pic.bmp"), u"--base", u"dec"}, 0,
         AllOf(HasSubstr("entry = BmpFile\nsizeof_short = 2\n"),
               HasSubstr("\n\nName                     Offset  Value  Size\n"
                         "file : BITMAPFILEHEADER  0x0            14\n"
                         "  bfType                 0x0     19778  2\n"),
               HasSubstr("  biWidth                0x12    37     4\n")),
         ""},
        {structure, {F("p.tvsd"), F("r.bin"), u"--offset", u"1", u"--tsv", u"--format", u"ascii", u"--endian", u"big"}, 0,
         "tag\t0x1\t\"ABC\"\t4\nn\t0x5\t0x1234\t2\nrest\t0x7\t\"xy\"\t1+\n", ""},
        {structure, {F("p.tvsd"), F("r.bin"), u"--offset", u"9", u"--tsv"}, 0, "tag\t0x9\t-\t4\nn\t0xD\t-\t2\nrest\t0xF\t-\t1+\n", ""},
        {structure, {F("bad.tvsd"), F("f.bin")}, 1, "",
         HasSubstr(":\nLine 2, Col 3: Multiple declarators are not supported in v1.\n  int a, b;\n  ^\n")},
        {structure, {F("p.tvsd"), F("f.bin"), u"--format", u"oct"}, 2, "", usage("struct")},
        {structure, {F("p.tvsd"), F("f.bin"), u"--endian", u"middle"}, 2, "", usage("struct")},
        {structure, {F("p.tvsd"), F("f.bin"), u"--offset", u"zz"}, 2, "", usage("struct")},
        {structure, {F("p.tvsd"), F("missing")}, 1, "", HasSubstr("missing': ")},
        {structure, {F("missing.tvsd"), F("f.bin")}, 1, "", HasSubstr("Failed to open definition file.")},
        {structure, {F("p.tvsd"), F("f.bin"), u"--offset", max}, 1, "", HasSubstr("offset 0xFFFFFFFFFFFFFFFF " + pastEnd)},
        {structure, {F("p.tvsd")}, 2, "", HasSubstr("expected a pattern file and a file")},
        {structure, {F("p.tvsd"), F("f.bin"), u"--base", u"oct"}, 2, "", HasSubstr("invalid base 'oct'")},

        {settings, {F("full.json")}, 0,
         "file:          " + platform::EncodeUtf8(F("full.json")) +
             "\nappVersion:    v1.02\nencoding:      Ascii\ntheme:         Black\nlanguage:      System\n"
             "font:          Mono, 10.5 pt, italic\ndataInspector: shown\n"
             "structView:    hidden; byte arrays hex, byte order little, numbers hex\n"
             "recentFiles:   2\n  1  C:\\a\\x09b.bin\n  2  d.bin\nsearchHistory: 1\n  1  hex  4D 5A\n",
         ""},
        {settings, {F("old.json")}, 0, EndsWith("note: the version is not v1.02; Tavro rewrites the file at its next start\n"), ""},
        {settings, {F("missing.json")}, 1, "",
         StartsWith("tavro-cli: cannot read '" + platform::EncodeUtf8(F("missing.json")) + "': ")},
        // The record shows what Tavro would use; standard error names what it passed over.
        {settings, {F("odd.json")}, 0, StartsWith("file:"), ""},
        {settings, {F("drak.json")}, 0, StartsWith("file:"),
         HasSubstr("theme: \"drak\" is not a known value; the default DarkBlue is used")},
        {settings, {F("endian.json")}, 0, StartsWith("file:"), HasSubstr("endian: \"middle\"")},
        {settings, {F("cut.json")}, 1, StartsWith("file:"), HasSubstr("not valid JSON (at byte 28)")},
        {settings, {F("junk.json")}, 1, StartsWith("file:"), HasSubstr("not valid JSON (at byte 0)")},
        {settings, {F("f.bin"), F("f.bin")}, 2, "", HasSubstr("expected at most one path")},
        {settings, {u"--all"}, 2, "", HasSubstr("unexpected argument '--all'")},

        // Which writer saved.
        {patch, {F("f.bin"), u"ow:1:FF", u"ins:3:0405"}, 0, "patched in place, new size 5 bytes\n", "", "\x01\xFF\x03\x04\x05"},
        {patch, {F("f.bin"), u"del:0:1"}, 0, "replaced through a temporary file, new size 2 bytes\n", "", "\x02\x03"},
        {patch, {F("missing"), u"ow:0:00"}, 1, "", HasSubstr("cannot open")},
        {patch, {F("f.bin"), u"del:" + max + u":0"}, 1, "",
         HasSubstr("offset 0xFFFFFFFFFFFFFFFF is past the end of the document (3 bytes); the file was not changed")},
        {patch, {F("f.bin"), u"ins:3:00", u"ow:3:AABB"}, 1, "",
         HasSubstr("2 bytes from 0x3 go past the end of the document (4 bytes)")},
        {patch, {F("f.bin")}, 2, "", HasSubstr("expected a file and at least one operation")},
        {patch, {u"--help", F("f.bin")}, 2, "", usage("patch"), {}, true},
        {patch, {F("f.bin"), u"zz:0:00"}, 2, "", AllOf(HasSubstr("invalid operation 'zz:0:00'"), usage("patch"))},
    };
    const std::vector<std::string> listing = dir.List();
    for (const Row& row : rows) {
        SCOPED_TRACE("row " + std::to_string(&row - rows) + ": " + row.command.name);
        const Output result = RunCommand(row.command, row.args);
        EXPECT_EQ(result.exitCode, row.exitCode) << result.err;
        EXPECT_THAT(result.out, row.out);
        EXPECT_THAT(result.err, row.err);
        EXPECT_EQ(cli::AsksForHelp(row.command, row.args), row.help);
        EXPECT_EQ(dir.List(), listing);
        for (const auto& [name, contents] : files) {
            const bool changed = row.after && row.args[0] == F(name);
            EXPECT_EQ(test::ReadFileBytes(F(name)), AsBytes(changed ? *row.after : contents)) << name;
            if (changed) test::WriteFileBytes(F(name), AsBytes(contents));
        }
    }
    for (const char16_t* op : {u"ow:1:F", u"ow:1:", u"ow:x:00", u"del:0:-1", u"del:0:1x", u"ow:12345678901234567:00", u"ins:0"}) {
        const Output result = RunCommand(patch, {F("f.bin"), op});
        EXPECT_EQ(result.exitCode, 2) << platform::EncodeUtf8(op);
        EXPECT_THAT(result.err, usage("patch"));
    }
    EXPECT_EQ(test::ReadFileBytes(F("f.bin")), AsBytes(files.at("f.bin")));
}

// Without a path the command reads the file where Tavro keeps it, whether it is there or not.
TEST(TavroCliSettings, WithoutAPathReadsTheFileWhereTavroKeepsIt) {
    const std::string expected = platform::EncodeUtf8(ComputeSettingsPath(platform::ExecutableDirectory()));
    const Output result = RunCommand(cli::kSettingsCommand, {});
    if (result.exitCode == 0)
        EXPECT_THAT(result.out, StartsWith("file:          " + expected + "\n"));
    else
        EXPECT_THAT(result.err, HasSubstr("'" + expected + "'"));
}

// The operations applied to a plain byte vector, every state kept for undo and redo; false
// when one does not fit.
struct ByteModel {
    std::vector<Bytes> states;
    std::size_t current = 0;  // the states after it can be redone

    bool Apply(int kind, std::size_t at, const Bytes& values) {
        if (kind >= 3) {
            const bool can = kind == 3 ? current > 0 : current + 1 < states.size();
            if (can) current = kind == 3 ? current - 1 : current + 1;
            return can;
        }
        Bytes bytes = states[current];
        if (at + (kind == 1 ? 0 : values.size()) > bytes.size()) return false;
        const auto where = bytes.begin() + static_cast<std::ptrdiff_t>(at);
        if (kind == 0) std::copy(values.begin(), values.end(), where);
        if (kind == 1) bytes.insert(where, values.begin(), values.end());
        if (kind == 2) bytes.erase(where, where + static_cast<std::ptrdiff_t>(values.size()));
        states.resize(++current);
        states.push_back(std::move(bytes));
        return true;
    }
    const Bytes& Now() const { return states[current]; }
};

std::string Hex(std::uint64_t value, const char* format) {
    char text[24];
    std::snprintf(text, sizeof text, format, static_cast<unsigned long long>(value));
    return text;
}

// Random overwrites, inserts, deletes, undo and redo: the file ends as the model, or, when an
// operation does not fit, the command refuses and the file stays as it was.
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

        ByteModel model{{original}};
        bool fits = true;
        std::vector<std::u16string> args{path};
        for (int i = 0, operations = 1 + static_cast<int>(random() % 6); i < operations; ++i) {
            const std::uint64_t at = random() % (model.Now().size() + 3);
            Bytes values(1 + random() % 3);
            std::string hex;
            for (auto& value : values) {
                value = static_cast<std::uint8_t>(random());
                hex += Hex(value, "%02llx");
            }
            // Rounds of overwrites only, with inserts and deletes, and with undo and redo too.
            const int kind = static_cast<int>(random() % (round % 3 == 0 ? 1 : round % 3 == 1 ? 3 : 5));
            const std::string op = kind == 0   ? "ow:0x" + Hex(at, "%llX") + ":" + hex
                                   : kind == 1 ? "ins:" + Hex(at, "%llX") + ":" + hex
                                   : kind == 2 ? "del:" + Hex(at, "%llX") + ":" + std::to_string(values.size())
                                   : kind == 3 ? "undo"
                                               : "redo";
            args.push_back(platform::DecodeUtf8(op));
            fits = fits && model.Apply(kind, at, values);
        }
        const Output result = RunCommand(cli::kPatchCommand, args);
        if (!fits) {
            ++refused;
            EXPECT_EQ(result.exitCode, 1) << result.err;
            EXPECT_THAT(result.err, HasSubstr("not changed"));
            EXPECT_EQ(test::ReadFileBytes(path), original);
        } else {
            EXPECT_EQ(result.exitCode, 0) << result.err;
            EXPECT_EQ(test::ReadFileBytes(path), model.Now());
            EXPECT_THAT(result.out, HasSubstr("new size " + std::to_string(model.Now().size()) + " bytes"));
            (result.out.starts_with("patched in place") ? inPlace : replaced)++;
        }
        EXPECT_EQ(dir.List(), std::vector<std::string>{"f.bin"});
    }
    // The random mix reaches every outcome.
    EXPECT_GT(inPlace, 20);
    EXPECT_GT(replaced, 20);
    EXPECT_GT(refused, 20);
}

// --output writes the result to another file; a signal during a save stops it, leaving the
// file as it was and no temporary file.
TEST(PatchCommand, WritesElsewhereAndStopsOnASignal) {
    test::TempDir dir;
    const auto path = dir.File("f.bin"), output = dir.File("out.bin");
    test::WriteFileBytes(path, {1, 2, 3});
    Output result = RunCommand(cli::kPatchCommand, {path, u"--output", output, u"ins:1:FF"});
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
        EXPECT_THAT(result.err, HasSubstr("interrupted; "));
        EXPECT_EQ(test::ReadFileBytes(path), Bytes({1, 2, 3}));
        EXPECT_EQ(dir.List(), (std::vector<std::string>{"f.bin", "out.bin"}));
    }
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
#endif
}

#ifndef _WIN32
std::string ReadNamed(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Names are bytes: an undecodable one reaches the right file, not its U+FFFD look-alike; a
// pipe, which would block every command, is refused before it is opened.
TEST(PatchCommand, FileNamesArriveByteForByte) {
    test::TempDir dir;
    const std::string folder = dir.Path().string();
    std::string bytesName = folder + "/x\xFF.bin", op = "ow:0:5A";
    const std::string lookAlike = folder + "/x\xEF\xBF\xBD.bin", fifo = folder + "/pipe";
    std::ofstream(bytesName, std::ios::binary) << '0';
    std::ofstream(lookAlike, std::ios::binary) << '0';
    char program[] = "tavro-cli";
    char* argv[] = {program, bytesName.data(), op.data()};
    const std::vector<std::u16string> args = platform::CommandLineArguments(3, argv);
    EXPECT_EQ(RunCommand(cli::kPatchCommand, {args[1], args[2]}).exitCode, 0);
    EXPECT_EQ(ReadNamed(bytesName), "Z");
    EXPECT_EQ(ReadNamed(lookAlike), "0");

    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const Output result = RunCommand(cli::kDumpCommand, {platform::DecodeUtf8(fifo)});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_THAT(result.err, HasSubstr("not a regular file"));
}
#endif

}  // namespace
}  // namespace tvx
