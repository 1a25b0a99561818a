// The settings reader and loader on any file the fuzzer finds. Beyond not crashing:
// - what one reading pass accepts, written out again, reads back to the same file;
// - the loader always ends with a file that loads (recovering it if need be), and that
//   file then loads again in one pass, unchanged, into the same settings.
#include "fuzz/FuzzInput.h"
#include "settings/Settings.h"
#include "settings/SettingsFormat.h"
#include "tests/settings/FakeControls.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

using ombrix::test::FakeControls;

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "settings_fuzz: %s\n", what);
    std::abort();
}

// A private folder for the file, made once and removed at exit: the loader replaces the
// file by renaming a new one over it.
class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string name = (std::filesystem::temp_directory_path() / "ombrix-fuzz-XXXXXX").string();
        if (::mkdtemp(name.data()) == nullptr)
            Fail("cannot make a temporary folder");
        folder_ = name;
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() { std::filesystem::remove_all(folder_); }
    std::filesystem::path File() const { return folder_ / "kestovombrix.ini"; }

private:
    std::filesystem::path folder_;
};

const std::filesystem::path& SettingsFile()
{
    static const ScratchFolder folder;
    static const std::filesystem::path file = folder.File();
    return file;
}

std::string Contents(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void CheckReader(const std::string& text)
{
    FakeControls controls;
    try {
        modOmbrix::ApplySettingsText(controls, text);
    } catch (const modOmbrix::SettingsLineError&) {
        return;
    }
    const std::string written = modOmbrix::FormatSettings(controls);
    FakeControls again;
    try {
        modOmbrix::ApplySettingsText(again, written);
    } catch (const modOmbrix::SettingsLineError&) {
        Fail("a file written from accepted settings does not read");
    }
    if (again.state != controls.state || modOmbrix::FormatSettings(again) != written)
        Fail("a file written from accepted settings reads back differently");
}

void CheckLoader(const std::string& text)
{
    const std::filesystem::path& path = SettingsFile();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out.flush())
            Fail("cannot write the settings file");
    }
    FakeControls loaded;
    try {
        modOmbrix::LoadSettings(loaded, path);
    } catch (const modOmbrix::SettingsFileError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        Fail("a regular file in a writable folder could not be loaded or recovered");
    }
    const std::string after = Contents(path);
    FakeControls reloaded;
    try {
        modOmbrix::ReadSettingsFile(reloaded, path); // one pass: it must need no recovery
    } catch (const modOmbrix::SettingsReadError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        Fail("a loaded file does not load again without a failure");
    }
    FakeControls again;
    modOmbrix::LoadSettings(again, path);
    if (Contents(path) != after)
        Fail("loading a loaded file changed it");
    // The collapsed flag is applied as a press of the toggle, so after a recovery the
    // file may hold the opposite of the pane's state; everything else must agree.
    reloaded.state.caption = loaded.state.caption;
    if (reloaded.state != loaded.state) {
        std::ostringstream states;
        ombrix::test::PrintTo(loaded.state, &states);
        states << "\n";
        ombrix::test::PrintTo(reloaded.state, &states);
        std::fprintf(stderr, "%s\n", states.str().c_str());
        Fail("loading a loaded file again gives other settings");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = ombrix::fuzz::FuzzInput(data, size).RestAsBytes();
    CheckReader(text);
    CheckLoader(text);
    return 0;
}
