// Random and mutated files fed to the loader: it never crashes or hangs, and afterwards
// the file on disk always loads without a failure.
#include "settings/Settings.h"
#include "settings/SettingsFormat.h"

#include "FakeControls.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include <sys/stat.h>

using namespace modOmbrix;
using namespace ombrix::test;
namespace fs = std::filesystem;

namespace {

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    ControlState RandomState()
    {
        ControlState s;
        const int send = Pick(-1, 1);
        s.send = {send == 0, send == 1};
        s.count = Pick(1, 6);
        for (auto& slot : s.levels)
            for (auto& level : slot)
                level = static_cast<std::int16_t>(Pick(0, 16));
        s.caption = Pick(0, 1) ? u"4" : u"3";
        for (auto& check : s.checks)
            check = static_cast<std::int16_t>(Pick(0, 2));
        s.finalTagEnabled = s.checks[0] != 1;
        return s;
    }

    std::string RandomFile()
    {
        switch (Pick(0, 5)) {
        case 0: { // a valid file cut short
            std::string text = FormatSettings(FakeControls(RandomState()));
            text.resize(static_cast<std::size_t>(Pick(0, static_cast<int>(text.size()))));
            return text;
        }
        case 1: { // binary
            std::string text(static_cast<std::size_t>(Pick(0, 400)), '\0');
            for (char& c : text)
                c = static_cast<char>(Pick(0, 255));
            return text;
        }
        case 2:
        case 3: { // a valid file with a few bytes changed, inserted or removed
            std::string text = FormatSettings(FakeControls(RandomState()));
            static const std::string kTricky = ",\r\n\t .-+0123456789TrueFalse\x7F\xFF";
            for (int n = Pick(1, 6); n > 0; --n) {
                const auto at = static_cast<std::size_t>(Pick(0, static_cast<int>(text.size())));
                const char c = Pick(0, 3) ? kTricky[static_cast<std::size_t>(Pick(0, int(kTricky.size()) - 1))]
                                          : static_cast<char>(Pick(0, 255));
                switch (Pick(0, 2)) {
                case 0:
                    if (at < text.size())
                        text[at] = c;
                    break;
                case 1: text.insert(at, 1, c); break;
                default:
                    if (at < text.size())
                        text.erase(at, 1);
                    break;
                }
            }
            return text;
        }
        default: { // lines of plausible and implausible values, with mixed line ends
            static const std::vector<std::string> kTokens = {" 0 ",
                                                             " 1 ",
                                                             " 2 ",
                                                             " 6 ",
                                                             " 16 ",
                                                             "17",
                                                             "-1 ",
                                                             " 2.5 ",
                                                             "True",
                                                             "False",
                                                             "",
                                                             "abc",
                                                             "1,2",
                                                             ",",
                                                             "\t7\t",
                                                             "+3",
                                                             "-0.5",
                                                             "1e3",
                                                             " 40000 ",
                                                             " 99999999999 ",
                                                             std::string(4097, ' '),
                                                             "x\x01"};
            static const std::vector<std::string> kEnds = {"\r\n", "\n", "\r", "\r\n", "\r\n"};
            std::string text;
            for (int n = Pick(0, 30); n > 0; --n)
                text += kTokens[static_cast<std::size_t>(Pick(0, int(kTokens.size()) - 1))] +
                        kEnds[static_cast<std::size_t>(Pick(0, int(kEnds.size()) - 1))];
            return text;
        }
        }
    }

private:
    std::mt19937 random_;
};

// After a load, the file at path loads again without a failure, into the state the load
// left (the collapse state aside: a True flag applied before a failure is pressed twice);
// a rewritten file is exactly the format of that state, 24 lines.
void ExpectGoodFileAfterLoad(const fs::path& path, const std::string& before, const FakeControls& loaded)
{
    const std::string after = ReadFile(path);
    FakeControls fresh;
    ASSERT_NO_THROW(ReadSettingsFile(fresh, path));
    ControlState want = fresh.state;
    want.caption = loaded.state.caption;
    EXPECT_EQ(loaded.state, want);
    if (after != before) {
        std::string format = FormatSettings(fresh);
        if (after.starts_with("\r\n")) // written while no send-mode button was selected
            format.erase(0, 3);
        EXPECT_EQ(after, format);
    }
}

} // namespace

TEST(SettingsFuzz, AnyFileEndsAsAFileThatLoads)
{
    const TempDir dir;
    const fs::path path = dir.path() / "kestovombrix.ini";
    Generator generator(8122026);
    int rewritten = 0;
    for (int round = 0; round < 2000; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string before = generator.RandomFile();
        WriteFile(path, before);
        FakeControls controls(generator.Pick(0, 1) ? generator.RandomState() : ControlState{});
        ASSERT_NO_THROW(LoadSettings(controls, path));
        ExpectGoodFileAfterLoad(path, before, controls);
        rewritten += ReadFile(path) != before;
        if (HasFatalFailure() || HasFailure())
            return;
    }
    EXPECT_GT(rewritten, 1000); // most random files fail
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"kestovombrix.ini"});
}

TEST(SettingsFuzz, HugeFilesAreReadOnlyAsFarAsTheFieldsNeed)
{
    const TempDir dir;
    const fs::path path = dir.path() / "kestovombrix.ini";
    std::string wide; // 24 fields of the longest accepted length
    for (const std::string& line : DefaultLines())
        wide += std::string(kMaxFieldBytes - line.size(), ' ') + line + "\r\n";
    const std::string junk(8 << 20, '7'); // far more than a reading pass looks at
    const std::vector<std::pair<std::string, std::string>> files = {
        {"one huge field", junk},
        {"the default file followed by junk", kDefaultFile + junk},
        {"wide fields followed by junk", wide + junk},
    };
    for (const auto& [what, text] : files) {
        SCOPED_TRACE(what);
        WriteFile(path, text);
        FakeControls controls;
        ASSERT_NO_THROW(LoadSettings(controls, path));
        ExpectGoodFileAfterLoad(path, text, controls);
    }
    EXPECT_EQ(ReadFile(path), wide + junk); // wide fields are good: not rewritten

    // A sparse file of over 4 GiB of zero bytes: the first byte fails.
    fs::remove(path);
    WriteFile(path, "");
    fs::resize_file(path, (std::uintmax_t{4} << 30) + 1);
    FakeControls controls;
    ASSERT_NO_THROW(LoadSettings(controls, path));
    EXPECT_EQ(ReadFile(path), kDefaultFile);
}

TEST(SettingsFuzz, LinksAndOtherNonRegularFilesAreRefusedAndLeftAsTheyAre)
{
    const TempDir dir;
    const fs::path path = dir.path() / "kestovombrix.ini";
    const fs::path target = dir.path() / "target";
    WriteFile(target, kDefaultFile);
    const std::vector<std::pair<std::string, std::function<void()>>> obstacles = {
        {"a link to a valid file", [&] { fs::create_symlink(target, path); }},
        {"a dangling link", [&] { fs::create_symlink(dir.path() / "nothing", path); }},
        {"a link to /dev/zero", [&] { fs::create_symlink("/dev/zero", path); }},
        {"a link to a folder", [&] { fs::create_directory_symlink(dir.path(), path); }},
        {"a folder", [&] { fs::create_directory(path); }},
        {"a FIFO", [&] { ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); }},
    };
    for (const auto& [what, make] : obstacles) {
        SCOPED_TRACE(what);
        make();
        const auto type = fs::symlink_status(path).type();
        FakeControls controls;
        try {
            LoadSettings(controls, path);
            ADD_FAILURE() << "loaded";
        } catch (const SettingsFileError& e) {
            EXPECT_TRUE(std::string(e.what()).starts_with("cannot write " + path.string() + ": ")) << e.what();
        }
        EXPECT_EQ(controls.state, ControlState{});
        EXPECT_EQ(fs::symlink_status(path).type(), type);
        EXPECT_EQ(ReadFile(target), kDefaultFile);
        EXPECT_FALSE(fs::exists(dir.path() / "nothing"));

        fs::remove(path); // once the obstacle is gone, the file is written
        ASSERT_NO_THROW(LoadSettings(controls, path));
        EXPECT_EQ(ReadFile(path), kDefaultFile);
        fs::remove(path);
    }
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"target"});
}
