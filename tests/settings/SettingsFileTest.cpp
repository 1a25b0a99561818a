#include "settings/Settings.h"
#include "settings/SettingsFormat.h"

#include "FakeControls.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <random>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace modOmbrix;
using namespace ombrix::test;
namespace fs = std::filesystem;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    TempDir dir;
    fs::path path = dir.path() / "kestovombrix.ini";

    // Loads text with controls at their design values (or the given ones) and returns them.
    FakeControls Load(const std::string& text, ControlState start = {})
    {
        WriteFile(path, text);
        FakeControls controls(std::move(start));
        LoadSettings(controls, path);
        return controls;
    }

    // The message of the SettingsFileError that f throws.
    template <typename F>
    static std::string ErrorOf(F&& f)
    {
        try {
            f();
        } catch (const SettingsFileError& e) {
            return e.what();
        }
        return "no error";
    }
};

// A valid file unlike the design values: send mode 1, 3 colours, level n at line n + 1
// cycling through 1..16, the pane collapsed, the tag options on.
std::vector<std::string> OtherLines()
{
    std::vector<std::string> lines = {" 1 ", " 3 "};
    for (int n = 0; n < 18; ++n)
        lines.push_back(FormatInteger(n % 16 + 1));
    lines.insert(lines.end(), {"True", " 1 ", " 1 ", " 0 "});
    return lines;
}

ControlState OtherState()
{
    ControlState s;
    s.send = {false, true};
    s.count = 3;
    for (int n = 0; n < 18; ++n)
        s.levels[static_cast<std::size_t>(n / 3)][static_cast<std::size_t>(n % 3)] =
            static_cast<std::int16_t>(n % 16 + 1);
    s.caption = u"4";
    s.checks = {1, 1, 0};
    s.finalTagEnabled = false;
    return s;
}

} // namespace

TEST(SettingsPath, IsOneFixedFileForAllUsers) { EXPECT_EQ(SettingsPath(), fs::path("/var/tmp/kestovombrix.ini")); }

TEST_F(SettingsFile, RoundTripsAnyStateOfTheControlsInExactlyTheFormat)
{
    std::mt19937 random(20261208);
    const auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (int round = 0; round < 300; ++round) {
        ControlState saved;
        const int send = pick(-1, 1); // -1: no button selected
        saved.send = {send == 0, send == 1};
        saved.count = pick(1, 6);
        for (auto& slot : saved.levels)
            for (auto& level : slot)
                level = static_cast<std::int16_t>(pick(0, 16));
        saved.caption = std::u16string(1, static_cast<char16_t>(u'2' + pick(0, 3))); // "2" to "5"
        for (auto& check : saved.checks)
            check = static_cast<std::int16_t>(pick(0, 2));

        SaveSettings(FakeControls(saved), path);
        std::string expected = send < 0 ? "\r\n" : " " + std::to_string(send) + " \r\n";
        expected += " " + std::to_string(saved.count) + " \r\n";
        for (const auto& slot : saved.levels)
            for (const auto level : slot)
                expected += " " + std::to_string(level) + " \r\n";
        expected += saved.caption == u"4" ? "True\r\n" : "False\r\n";
        for (const auto check : saved.checks)
            expected += " " + std::to_string(check) + " \r\n";
        ASSERT_EQ(ReadFile(path), expected);

        FakeControls loaded; // at the design values, as at start-up
        LoadSettings(loaded, path);
        ControlState want = saved;
        want.send = {send <= 0, send == 1}; // an empty line 1 selects send mode 0
        want.caption = saved.caption == u"4" ? u"4" : u"3";
        want.finalTagEnabled = saved.checks[0] != 1;
        ASSERT_EQ(loaded.state, want);
        ASSERT_EQ(ReadFile(path), expected); // a good file is only read
    }
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"kestovombrix.ini"}); // no temporary file left
}

TEST_F(SettingsFile, AMissingFileIsWrittenFromTheDesignValuesAndReadBack)
{
    FakeControls controls;
    LoadSettings(controls, path);
    EXPECT_EQ(ReadFile(path), kDefaultFile);
    EXPECT_EQ(controls.state, ControlState{});
    EXPECT_EQ(controls.events.front(), "send 0"); // only the second pass assigned anything
    EXPECT_EQ(controls.Count("count 6"), 1);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms(0644));
}

TEST_F(SettingsFile, AShortFileKeepsItsValuesAndGetsTheDesignValuesForTheRest)
{
    const std::vector<std::string> ten = {" 1 ", " 3 ", " 1 ", " 2 ", " 3 ", " 4 ", " 5 ", " 6 ", " 7 ", " 8 "};
    const FakeControls controls = Load(Join(ten));

    std::vector<std::string> expected = DefaultLines();
    std::copy(ten.begin(), ten.end(), expected.begin());
    EXPECT_EQ(ReadFile(path), Join(expected));
    ControlState want;
    want.send = {false, true};
    want.count = 3;
    want.levels[0] = {1, 2, 3};
    want.levels[1] = {4, 5, 6};
    want.levels[2] = {7, 8, 0}; // line 11 comes from the design values
    EXPECT_EQ(controls.state, want);
}

TEST_F(SettingsFile, AnEmptyLineOneSelectsSendModeZero)
{
    ControlState start;
    start.send = {false, true};
    const std::string text = Join(DefaultLinesWith(1, ""));
    const FakeControls controls = Load(text, start);
    EXPECT_EQ(controls.state.send, (std::array<bool, 2>{true, false}));
    EXPECT_EQ(ReadFile(path), text);
}

TEST_F(SettingsFile, AnUnknownSendModeIsRewrittenAsTheSelectedOne)
{
    EXPECT_EQ(Load(Join(DefaultLinesWith(1, " 2 "))).state, ControlState{});
    EXPECT_EQ(ReadFile(path), kDefaultFile);

    ControlState none; // neither button selected: the rewritten line 1 is empty and reads as 0
    none.send = {false, false};
    const FakeControls controls = Load(Join(DefaultLinesWith(1, "-1 ")), none);
    EXPECT_EQ(ReadFile(path), Join(DefaultLinesWith(1, "")));
    EXPECT_EQ(controls.state.send, (std::array<bool, 2>{true, false}));
}

TEST_F(SettingsFile, ALevelOutsideTheRangeKeepsTheValuesBeforeItAndTheDesignValuesAfter)
{
    for (int line = 3; line <= 20; ++line) {
        for (const char* bad : {" 17 ", "-1 "}) {
            std::vector<std::string> lines = OtherLines();
            lines[static_cast<std::size_t>(line - 1)] = bad;
            const FakeControls controls = Load(Join(lines));
            std::vector<std::string> expected = DefaultLines();
            std::copy(lines.begin(), lines.begin() + line - 1, expected.begin());
            ASSERT_EQ(ReadFile(path), Join(expected)) << "line " << line << ": " << bad;
            EXPECT_EQ(FormatSettings(controls), Join(expected));
        }
    }
}

TEST_F(SettingsFile, SpacesAroundAValueDoNotMatterAndFractionsRound)
{
    for (const auto& [text, level] : std::vector<std::pair<std::string, int>>{
             {"5", 5}, {" 5", 5}, {"5    ", 5}, {"\t5 \t", 5}, {" 2.5 ", 2}, {" 3.5 ", 4}, {"", 0}, {"+16", 16}}) {
        const std::string file = Join(DefaultLinesWith(7, text));
        const FakeControls controls = Load(file);
        EXPECT_EQ(controls.state.levels[1][1], level) << text;
        EXPECT_EQ(ReadFile(path), file) << "a good file is never rewritten";
    }
}

TEST_F(SettingsFile, ACommaMakesTwoFieldsAndShiftsTheRest)
{
    // Lines 23 and 24 as one line: the file still holds 24 fields.
    std::vector<std::string> lines = DefaultLines();
    lines[22] = " 2, 0 ";
    lines.pop_back();
    const std::string file = Join(lines);
    EXPECT_EQ(Load(file).state.checks, (std::array<std::int16_t, 3>{0, 2, 0}));
    EXPECT_EQ(ReadFile(path), file);

    // A comma in line 3 shifts every value: line 20 (" 8 ") becomes the collapsed flag
    // and presses the button, then "False" fails as a check box value. The rewritten file
    // holds the shifted values and "True"; reading it presses again.
    const FakeControls controls = Load(Join(DefaultLinesWith(3, " 1, 2 ")));
    std::vector<std::string> expected = {" 0 ", " 6 ", " 1 ", " 2 "};
    const std::vector<std::string> defaults = DefaultLines();
    expected.insert(expected.end(), defaults.begin() + 3, defaults.begin() + 19);
    expected.insert(expected.end(), {"True", " 0 ", " 0 ", " 1 "});
    EXPECT_EQ(ReadFile(path), Join(expected));
    EXPECT_EQ(controls.Count("press"), 2);
    EXPECT_EQ(controls.state.caption, u"3");
    EXPECT_EQ(controls.state.levels[0], (std::array<std::int16_t, 3>{1, 2, 0}));
}

TEST_F(SettingsFile, LinesAfterTheLastAreIgnoredAndGoneAtTheNextSave)
{
    FakeControls controls = Load(kDefaultFile + " 99 \r\nanything\x01\r\n");
    EXPECT_EQ(controls.state, ControlState{});
    EXPECT_EQ(ReadFile(path).size(), 128u + 17u);
    SaveSettings(controls, path);
    EXPECT_EQ(ReadFile(path), kDefaultFile);
}

TEST_F(SettingsFile, TheCollapsedFlagPressesTheButtonOnlyWhenTrue)
{
    for (const char* text : {"True", " 1 ", "-1 ", "0.5"}) {
        const FakeControls controls = Load(Join(DefaultLinesWith(21, text)));
        EXPECT_EQ(controls.state.caption, u"4") << text;
        EXPECT_EQ(controls.Count("press"), 1) << text;
    }
    for (const char* text : {"False", " 0 ", ""}) {
        const FakeControls controls = Load(Join(DefaultLinesWith(21, text)));
        EXPECT_EQ(controls.state.caption, u"3") << text;
        EXPECT_EQ(controls.Count("press"), 0) << text;
    }
}

TEST_F(SettingsFile, TrueFollowedByAFailingLineEndsExpandedAndTheNextSaveSaysFalse)
{
    std::vector<std::string> lines = DefaultLines();
    lines[20] = "True";
    lines[21] = " 5 ";
    FakeControls controls = Load(Join(lines));
    EXPECT_EQ(ReadFile(path), Join(DefaultLinesWith(21, "True")));
    EXPECT_EQ(controls.Count("press"), 2);
    EXPECT_EQ(controls.state.caption, u"3");
    SaveSettings(controls, path);
    EXPECT_EQ(ReadFile(path), kDefaultFile);
}

TEST_F(SettingsFile, TheGrayedCheckValueIsAccepted)
{
    const std::string file = Join(DefaultLinesWith(22, " 2 "));
    const FakeControls controls = Load(file);
    EXPECT_EQ(controls.state.checks[0], 2);
    EXPECT_TRUE(controls.state.finalTagEnabled);
    EXPECT_EQ(ReadFile(path), file);
}

TEST_F(SettingsFile, ANumberOfColoursOutsideOneToSixIsRewrittenAsTheCurrentNumber)
{
    ControlState start;
    start.count = 3;
    for (const char* text : {" 7 ", " 0 ", "-1 ", " 40000 "}) {
        const FakeControls controls = Load(Join(DefaultLinesWith(2, text)), start);
        EXPECT_EQ(ReadFile(path), Join(DefaultLinesWith(2, " 3 "))) << text;
        EXPECT_EQ(controls.state.count, 3);
    }
}

TEST_F(SettingsFile, TheWordsTrueAndFalseInAnIntegerLineFail)
{
    for (const int line : {1, 2, 5, 22, 24}) {
        for (const char* word : {"True", "False"}) {
            std::vector<std::string> lines = OtherLines();
            lines[static_cast<std::size_t>(line - 1)] = word;
            Load(Join(lines));
            std::vector<std::string> expected = DefaultLines();
            std::copy(lines.begin(), lines.begin() + line - 1, expected.begin());
            EXPECT_EQ(ReadFile(path), Join(expected)) << "line " << line << ": " << word;
        }
    }
}

TEST_F(SettingsFile, FilesFromOtherEditorsReadTheSame)
{
    for (const char* end : {"\n", "\r", "\r\n"}) {
        const FakeControls controls = Load(Join(OtherLines(), end));
        EXPECT_EQ(controls.state, OtherState()) << "line end " << int(end[0]);
    }
    // No line end after the last line.
    std::string text = Join(OtherLines());
    text.resize(text.size() - 2);
    EXPECT_EQ(Load(text).state, OtherState());
    EXPECT_EQ(ReadFile(path), text);
}

TEST_F(SettingsFile, ALongFieldOrABinaryByteGoesToTheRecovery)
{
    const std::string padded = std::string(4093, ' ') + " 5 ";
    EXPECT_EQ(Load(Join(DefaultLinesWith(3, padded))).state.levels[0][0], 5);
    const std::string tooLong = std::string(4094, ' ') + " 5 ";
    EXPECT_EQ(Load(Join(DefaultLinesWith(3, tooLong))).state, ControlState{});
    EXPECT_EQ(ReadFile(path), kDefaultFile);
    for (const std::string& bad : {std::string(" 5\0", 3), std::string(" 5\x80"), std::string("\x1A")}) {
        EXPECT_EQ(Load(Join(DefaultLinesWith(3, bad))).state, ControlState{});
        EXPECT_EQ(ReadFile(path), kDefaultFile);
    }
}

TEST_F(SettingsFile, AFailureInTheSecondPassLeavesLoadSettingsOnce)
{
    FakeControls controls;
    controls.brokenSlot = 5;
    WriteFile(path, kDefaultFile);
    EXPECT_EQ(ErrorOf([&] { LoadSettings(controls, path); }),
              "cannot read " + path.string() + ": line 20: broken scroll bar");
    EXPECT_EQ(controls.Count("send 0"), 2); // two passes, no more
    EXPECT_EQ(ReadFile(path), kDefaultFile);
}

TEST_F(SettingsFile, ARecoveryThatCannotWriteLeavesLoadSettingsNamingThePath)
{
    WriteFile(dir.path() / "file", "x");
    const fs::path inside = dir.path() / "file" / "kestovombrix.ini";
    FakeControls controls;
    EXPECT_EQ(ErrorOf([&] { LoadSettings(controls, inside); }),
              "cannot write " + inside.string() + ": Not a directory");
    EXPECT_EQ(controls.events, std::vector<std::string>{});
}

TEST_F(SettingsFile, ReadingNeverFollowsALinkNorReadsAnythingButARegularFile)
{
    WriteFile(dir.path() / "target", Join(OtherLines()));
    fs::create_symlink(dir.path() / "target", path);
    FakeControls controls;
    EXPECT_EQ(ErrorOf([&] { ReadSettingsFile(controls, path); }),
              "cannot read " + path.string() + ": is a symbolic link");
    EXPECT_EQ(controls.events, std::vector<std::string>{});
    // Nor does the recovery write through it or replace it.
    EXPECT_EQ(ErrorOf([&] { LoadSettings(controls, path); }), "cannot write " + path.string() + ": is a symbolic link");
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(ReadFile(dir.path() / "target"), Join(OtherLines()));

    fs::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); // opening a FIFO would wait for a writer
    EXPECT_EQ(ErrorOf([&] { ReadSettingsFile(controls, path); }),
              "cannot read " + path.string() + ": is not a regular file");
    fs::remove(path);
    fs::create_directory(path);
    EXPECT_EQ(ErrorOf([&] { LoadSettings(controls, path); }), "cannot write " + path.string() + ": is a directory");
    EXPECT_TRUE(fs::is_directory(path));
}

TEST_F(SettingsFile, AFailedSaveLeavesTheOldFileWholeAndNamesThePath)
{
    WriteFile(path, Join(OtherLines()));
    const FakeControls controls;

    // A file size limit makes the write fail half way; root is bound by it too.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 50;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string error = ErrorOf([&] { SaveSettings(controls, path); });
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(error, "cannot write " + path.string() + ": File too large");
    EXPECT_EQ(ReadFile(path), Join(OtherLines()));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"kestovombrix.ini"}); // the temporary file is gone

    // A link at the path: neither it nor its target changes.
    fs::rename(path, dir.path() / "target");
    fs::create_symlink(dir.path() / "target", path);
    EXPECT_EQ(ErrorOf([&] { SaveSettings(controls, path); }), "cannot write " + path.string() + ": is a symbolic link");
    EXPECT_EQ(ReadFile(dir.path() / "target"), Join(OtherLines()));
    EXPECT_TRUE(fs::is_symlink(path));
}

TEST_F(SettingsFile, ASaveIntoAReadOnlyFolderFails)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root";
    WriteFile(path, Join(OtherLines()));
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(ErrorOf([&] { SaveSettings(FakeControls(), path); }),
              "cannot write " + path.string() + ": Permission denied");
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(ReadFile(path), Join(OtherLines()));
}
