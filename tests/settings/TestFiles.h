// Settings files for tests: the design values' lines, a private temporary folder, and
// reading and writing whole files. The one copy for every test that needs them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace ombrix::test {

// The lines of the file the design values give, without their line ends; index 0 is
// line 1.
inline std::vector<std::string> DefaultLines()
{
    return {" 0 ",  " 6 ", " 16 ", " 0 ", " 0 ",  " 16 ", " 8 ", " 0 ", " 15 ",  " 15 ", " 0 ", " 0 ",
            " 15 ", " 0 ", " 0 ",  " 0 ", " 16 ", " 8 ",  " 0 ", " 8 ", "False", " 0 ",  " 0 ", " 1 "};
}

inline std::string Join(const std::vector<std::string>& lines, const std::string& end = "\r\n")
{
    std::string text;
    for (const auto& line : lines)
        text += line + end;
    return text;
}

// The file the design values give: 24 lines, 128 bytes.
inline const std::string kDefaultFile = Join(DefaultLines());

// DefaultLines with line `number` (from 1) replaced.
inline std::vector<std::string> DefaultLinesWith(int number, const std::string& text)
{
    std::vector<std::string> lines = DefaultLines();
    lines.at(static_cast<std::size_t>(number - 1)) = text;
    return lines;
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir()
    {
        std::string name = (std::filesystem::temp_directory_path() / "ombrix-settings-XXXXXX").string();
        if (::mkdtemp(name.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        path_ = name;
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }
    // The names in the folder, to see that no temporary file is left behind.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

} // namespace ombrix::test
