#include "cli/FadeCommand.h"
#include "cli/Utf8.h"
#include "tests/settings/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace ombrix::cli;
using modOmbrix::OutputFormatName;

TEST(FadeCommand, WritesTheHtmlWithNothingAdded)
{
    const struct {
        std::vector<std::string_view> args;
        std::string input;
        std::string out;
    } cases[] = {
        {{"--color", "16,0,0", "--color=0,0,16"},
         "abcd",
         "<FONT COLOR=C00040>a<FONT COLOR=800080>b<FONT COLOR=4000C0>c<FONT COLOR=0000FF>d"},
        {{"--color", "16,0,0", "--color", "0,0,16", "--end-tags"},
         "a b",
         "<FONT COLOR=B00050>a </FONT><FONT COLOR=0000FF>b</FONT> "},
        {{"--final-tag"}, "", "</FONT> "},
        {{"--color", "16,0,0", "--color", "0,0,16"},
         "hi\r\nyo",
         "<FONT COLOR=D00030>h<FONT COLOR=B00050>i<BR><FONT COLOR=3000D0>y<FONT COLOR=0000FF>o"},
        {{"--color", "0,0,0"}, "a\nb\rc", "<FONT COLOR=000000>a\nb\rc"},
        {{"--color", "0,0,0"},
         "\xEF\xBB\xBF"
         "\xC3\xA9\xF0\x9F\x98\x80",
         "<FONT COLOR=000000>\xEF\xBB\xBF\xC3\xA9\xF0\x9F\x98\x80"},
        // No --color: the six default colours; "a" lies half way from yellow to green.
        {{}, "ab", "<FONT COLOR=80F000>a<FONT COLOR=800080>b"},
    };
    for (const auto& c : cases) {
        const RunResult r = RunFade(c.args, c.input);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.out) << c.input;
        EXPECT_EQ(r.err, "");
    }
}

TEST(FadeCommand, WritesTheFormatAskedFor)
{
    const struct {
        std::vector<std::string_view> args;
        std::string input;
        std::string out;
    } cases[] = {
        {{"--color", "16,0,0", "--format", "css"}, "a<b", "<span style=\"color:#ff0000\">a&lt;b</span>"},
        {{"--color=16,0,0", "--format=bbcode"}, "a\r\nb\nc", "[color=#FF0000]a\nb\nc[/color]"},
        {{"--color", "16,0,0", "--format", "minimessage"}, "a\nb", "<#ff0000>a<newline>b"},
        {{"--color", "16,0,0", "--color", "0,0,16", "--format", "irc"},
         "12",
         "\x03"
         "381\x03"
         "602\x0F"},
        {{"--color", "16,0,0", "--format", "ansi"}, "\xC3\xA9", "\x1B[38;2;255;0;0m\xC3\xA9\x1B[0m"},
        {{"--color", "16,0,0", "--format", "html"}, "a", "<FONT COLOR=FF0000>a"},
        // The tag options are HTML's alone.
        {{"--color", "16,0,0", "--format", "css", "--end-tags", "--final-tag"},
         "a",
         "<span style=\"color:#ff0000\">a</span>"},
    };
    for (const auto& c : cases) {
        const RunResult r = RunFade(c.args, c.input);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.out) << c.args.back();
    }
}

TEST(FadeCommand, RefusesAnUnknownOrRepeatedFormatNamingTheFormats)
{
    const struct {
        std::vector<std::string_view> args;
        std::string err;
    } cases[] = {
        {{"--format", "HTML"},
         "ombrix-fade: --format HTML: not a format; the formats are html, css, bbcode, minimessage, irc or ansi "
         "(try --help)"},
        {{"--format"}, "ombrix-fade: --format needs a name: html, css, bbcode, minimessage, irc or ansi (try --help)"},
        {{"--format=css", "--format", "css"}, "ombrix-fade: --format can be given only once (try --help)"},
    };
    for (const auto& c : cases) {
        const RunResult r = RunFade(c.args, "a");
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(FadeCommand, RefusesBadInputWithOneLineAndNoOutput)
{
    const struct {
        std::vector<std::string_view> args;
        std::string input;
        int status;
        std::string err;
    } cases[] = {
        {{"--colour", "1,2,3"}, "a", 2, "ombrix-fade: unknown option '--colour' (try --help)"},
        {{"--color", "17,0,0"}, "a", 2, "ombrix-fade: --color 17,0,0: level 17 is outside 0..16 (try --help)"},
        {{"--color", "-1,0,0"}, "a", 2, "ombrix-fade: --color -1,0,0: level -1 is outside 0..16 (try --help)"},
        {{"--color", "x,0,0"}, "a", 2, "ombrix-fade: --color x,0,0: 'x' is not a number (try --help)"},
        {{"--color", "1,2"}, "a", 2, "ombrix-fade: --color 1,2: expected three levels R,G,B (try --help)"},
        {{"--color", "1,2,3,4"}, "a", 2, "ombrix-fade: --color 1,2,3,4: expected three levels R,G,B (try --help)"},
        {{"--color"}, "a", 2, "ombrix-fade: --color needs a value R,G,B (try --help)"},
        {{"--color=1,1,1", "--color=1,1,1", "--color=1,1,1", "--color=1,1,1", "--color=1,1,1", "--color=1,1,1",
          "--color=1,1,1"},
         "a",
         2,
         "ombrix-fade: at most 6 colours can be given (try --help)"},
        {{}, "ab\xFF", 2, "ombrix-fade: invalid UTF-8 at byte 2: byte 0xFF cannot start a character"},
        {{}, "a\xED\xA0\x80", 2, "ombrix-fade: invalid UTF-8 at byte 1: encoded surrogate"},
        {{}, "\xC0\xAF", 2, "ombrix-fade: invalid UTF-8 at byte 0: byte 0xC0 cannot start a character"},
        {{}, "\xE0\x80\xAF", 2, "ombrix-fade: invalid UTF-8 at byte 0: overlong encoding"},
        {{}, "ok\xE2\x82", 2, "ombrix-fade: invalid UTF-8 at byte 2: truncated sequence"},
        {{}, "\xF4\x90\x80\x80", 2, "ombrix-fade: invalid UTF-8 at byte 0: code point above U+10FFFF"},
        {{}, std::string(6554, 'x'), 1, "ombrix-fade: text too long for 6 colours: at most 6553 characters"},
    };
    for (const auto& c : cases) {
        const RunResult r = RunFade(c.args, c.input);
        EXPECT_EQ(r.status, c.status) << c.err;
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
    }
}

TEST(FadeCommand, ReadsTheInputOnlyOnceTheCommandLineAndSettingsAreGood)
{
    // At a terminal, reading first would wait for Ctrl+D before saying anything.
    const struct {
        std::vector<std::string_view> args;
        bool reads;
    } cases[] = {
        {{"--bogus"}, false},         {{"--color", "1,2"}, false},
        {{"--help"}, false},          {{"--settings", "/nonexistent/kestovombrix.ini"}, false},
        {{"--format", "xml"}, false}, {{"--color", "1,2,3"}, true},
    };
    for (const auto& c : cases) {
        int reads = 0;
        const RunResult r = RunFade(c.args, [&reads] {
            ++reads;
            return std::string("a");
        });
        EXPECT_EQ(reads, c.reads ? 1 : 0) << c.args[0] << ": " << r.err;
    }
}

TEST(FadeCommand, ShowsControlBytesOfArgumentsEscaped)
{
    const struct {
        std::string arg;
        std::string shown;
    } cases[] = {
        {"--x\r\n\x1B[2J\a", "--x\\x0D\\x0A\\x1B[2J\\x07"},
        {"--x\x7F\xC2\x9B", "--x\\x7F\\xC2\\x9B"},                          // DEL, the C1 control CSI
        {"--x\xFF\xC3", "--x\\xFF\\xC3"},                                   // not UTF-8
        {"--x\xC3\xA9\xF0\x9F\x98\x80\\", "--x\xC3\xA9\xF0\x9F\x98\x80\\"}, // shown as they are
    };
    for (const auto& c : cases)
        EXPECT_EQ(RunFade({c.arg}, "a").err, "ombrix-fade: unknown option '" + c.shown + "' (try --help)");
}

TEST(FadeCommand, HelpDescribesTheOptions)
{
    const RunResult r = RunFade({"--help"}, "");
    EXPECT_EQ(r.status, 0);
    for (const char* word : {"--color R,G,B", "--format NAME", "--end-tags      html only", "--final-tag     html only",
                             "--settings FILE", "-h, --help"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
    for (const OutputFormatName& f : modOmbrix::kOutputFormats)
        EXPECT_NE(r.out.find(f.name), std::string::npos) << f.name;
}

TEST(Utf8, RoundTripsEveryPlane)
{
    const std::string text = "A\xC2\xA9\xE2\x82\xAC\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";
    const std::u16string units = DecodeUtf8(text);
    EXPECT_EQ(units, u"A\u00A9\u20AC\uFFFF\U00010000\U0010FFFF");
    EXPECT_EQ(EncodeUtf8(units), text);
    EXPECT_THROW((void)EncodeUtf8(u"\xD800"), std::invalid_argument);
}

namespace {

// A settings file with red to blue and "Use </FONT> Ending Tags" on, in a fresh folder.
struct SettingsFileFixture {
    ombrix::test::TempDir dir;
    std::filesystem::path path = dir.path() / "kestovombrix.ini";
    std::vector<std::string> lines = ombrix::test::DefaultLines();

    SettingsFileFixture()
    {
        lines[1] = " 2 ";
        lines[2] = " 16 "; // slot 0: 16, 0, 0
        lines[3] = " 0 ";
        lines[4] = " 0 ";
        lines[5] = " 0 "; // slot 1: 0, 0, 16
        lines[6] = " 0 ";
        lines[7] = " 16 ";
        lines[21] = " 1 ";
        Write();
    }
    void Write() const { ombrix::test::WriteFile(path, ombrix::test::Join(lines)); }
    std::string Path() const { return path.string(); }
};

} // namespace

TEST(FadeCommand, TakesTheColoursAndTagOptionsFromASettingsFile)
{
    const SettingsFileFixture file;
    const std::string path = file.Path();
    const std::string withEquals = "--settings=" + path;
    const struct {
        std::vector<std::string_view> withFile;
        std::vector<std::string_view> same;
    } cases[] = {
        {{"--settings", path}, {"--color", "16,0,0", "--color", "0,0,16", "--end-tags"}},
        {{withEquals}, {"--color", "16,0,0", "--color", "0,0,16", "--end-tags"}},
        {{"--settings", path, "--final-tag"}, {"--color", "16,0,0", "--color", "0,0,16", "--end-tags", "--final-tag"}},
        {{"--color", "0,16,0", "--settings", path}, {"--color", "0,16,0", "--end-tags"}},
    };
    for (const auto& c : cases) {
        const RunResult withFile = RunFade(c.withFile, "a b\r\nc");
        const RunResult same = RunFade(c.same, "a b\r\nc");
        EXPECT_EQ(withFile.status, 0) << withFile.err;
        EXPECT_EQ(withFile.out, same.out);
        EXPECT_EQ(withFile.err, "");
    }
    EXPECT_EQ(ombrix::test::ReadFile(file.path), ombrix::test::Join(file.lines));
}

TEST(FadeCommand, TheGrayedTagValueInASettingsFileIsOff)
{
    SettingsFileFixture file;
    file.lines[21] = " 2 ";
    file.lines[22] = " 2 ";
    file.Write();
    EXPECT_EQ(RunFade({"--settings", file.Path()}, "ab").out, RunFade({"--color=16,0,0", "--color=0,0,16"}, "ab").out);
}

TEST(FadeCommand, ASettingsFileThatFailsIsReportedWithItsLineAndNeverRepaired)
{
    SettingsFileFixture file;
    const std::string path = file.Path();
    const auto fails = [&](const std::string& why) {
        const RunResult r = RunFade({"--settings", path}, "abc");
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "ombrix-fade: cannot read " + path + ": " + why);
    };
    file.lines[3] = " 17 ";
    file.Write();
    fails("line 4: level 17 is outside 0..16");
    EXPECT_EQ(ombrix::test::ReadFile(file.path), ombrix::test::Join(file.lines));

    file.lines[3] = " 0 ";
    file.lines[1] = " 7 ";
    file.Write();
    fails("line 2: number of colours 7 is outside 1..6");

    file.lines.resize(10);
    file.lines[1] = " 2 ";
    file.Write();
    fails("line 11: the file ends before this value");
    EXPECT_EQ(ombrix::test::ReadFile(file.path), ombrix::test::Join(file.lines));

    std::filesystem::remove(file.path);
    fails("No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(file.path));

    std::filesystem::create_symlink("/dev/zero", file.path);
    fails("is a symbolic link");
}

TEST(FadeCommand, RefusesAMissingOrRepeatedSettingsFile)
{
    EXPECT_EQ(RunFade({"--settings"}, "a").err, "ombrix-fade: --settings needs a file (try --help)");
    const RunResult r = RunFade({"--settings", "a", "--settings=b"}, "a");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "ombrix-fade: --settings can be given only once (try --help)");
}
