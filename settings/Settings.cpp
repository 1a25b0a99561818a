#include "settings/Settings.h"

#include "settings/ControlRanges.h"
#include "settings/SettingsFormat.h"

#include <cerrno>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace modOmbrix {
namespace {

// One location for all users that survives a reboot and is not beside the program.
#ifdef _WIN32
constexpr const char* kSettingsPath = "c:\\kestovombrix.ini";
#else
constexpr const char* kSettingsPath = "/var/tmp/kestovombrix.ini";
#endif

std::string SystemReason(int error) { return std::generic_category().message(error); }

// Why what lies at path may not be read or replaced; empty when it is a regular file
// or nothing. Links are refused because the folder is writable by every user.
std::string NotRegularReason(const struct stat& st)
{
    if (S_ISLNK(st.st_mode))
        return "is a symbolic link";
    if (S_ISDIR(st.st_mode))
        return "is a directory";
    if (!S_ISREG(st.st_mode))
        return "is not a regular file";
    return {};
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now and reports the error a deferred write may only show here.
    int Close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

// At most limit bytes from the start of the regular file at path.
std::string ReadRegularFile(const std::filesystem::path& path, std::size_t limit)
{
    const std::string name = path.string();
    const auto fail = [&name](const std::string& reason) {
        throw SettingsReadError("cannot read " + name + ": " + reason, 0);
    };
    struct stat st {};
    if (::lstat(name.c_str(), &st) != 0)
        fail(SystemReason(errno));
    if (const std::string reason = NotRegularReason(st); !reason.empty())
        fail(reason); // refused before opening: opening a device or a FIFO can block or act
    // O_NOFOLLOW and O_NONBLOCK keep a link or a FIFO swapped in since lstat harmless.
    const FileDescriptor fd(::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        fail(errno == ELOOP ? "is a symbolic link" : SystemReason(errno));
    if (::fstat(fd.get(), &st) != 0)
        fail(SystemReason(errno));
    if (const std::string reason = NotRegularReason(st); !reason.empty())
        fail(reason);

    std::string bytes(limit, '\0');
    std::size_t size = 0;
    while (size < limit) {
        const ssize_t n = ::read(fd.get(), bytes.data() + size, limit - size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(SystemReason(errno));
        if (n == 0)
            break;
        size += static_cast<std::size_t>(n);
    }
    bytes.resize(size);
    return bytes;
}

// Replaces the file at path by one holding bytes: a temporary file in the same folder is
// written, flushed to disk and renamed over the old one, so a failure at any step leaves
// the old file whole. Only a regular file (or nothing) at path is replaced.
void ReplaceRegularFile(const std::filesystem::path& path, std::string_view bytes)
{
    const std::string name = path.string();
    const auto fail = [&name](const std::string& reason) {
        throw SettingsFileError("cannot write " + name + ": " + reason);
    };
    struct stat st {};
    if (::lstat(name.c_str(), &st) == 0) {
        if (const std::string reason = NotRegularReason(st); !reason.empty())
            fail(reason);
    } else if (errno != ENOENT) {
        fail(SystemReason(errno));
    }

    // mkostemp creates the file exclusively: it never opens anything already there.
    std::string tempName = name + ".XXXXXX";
    FileDescriptor fd(::mkostemp(tempName.data(), O_CLOEXEC));
    if (fd.get() < 0)
        fail(SystemReason(errno));
    struct RemoveUnlessRenamed {
        const std::string& file;
        bool renamed = false;
        ~RemoveUnlessRenamed()
        {
            if (!renamed)
                ::unlink(file.c_str());
        }
    } temp{tempName};

    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(SystemReason(errno));
        done += static_cast<std::size_t>(n);
    }
    // mkostemp makes the file private; the settings file is readable by everyone, as a
    // file created the ordinary way would be.
    if (::fchmod(fd.get(), 0644) != 0 || ::fsync(fd.get()) != 0 || fd.Close() != 0)
        fail(SystemReason(errno));
    if (::rename(tempName.c_str(), name.c_str()) != 0)
        fail(SystemReason(errno));
    temp.renamed = true;

    // Make the rename itself durable. The new file is already in place, so a failure here
    // is not worth reporting as a failed save.
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    const FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
}

} // namespace

std::filesystem::path SettingsPath() { return kSettingsPath; }

std::optional<std::uint8_t> GetSendMode(const SettingsControls& controls)
{
    std::optional<std::uint8_t> mode;
    for (std::uint8_t c = 0; c < kSendOptionCount; ++c)
        if (controls.IsSendOptionSelected(c))
            mode = c;
    return mode;
}

void SaveSettings(const SettingsControls& controls, const std::filesystem::path& path)
{
    ReplaceRegularFile(path, FormatSettings(controls));
}

void ReadSettingsFile(SettingsControls& controls, const std::filesystem::path& path)
{
    const std::string text = ReadRegularFile(path, kMaxSettingsBytesRead);
    try {
        ApplySettingsText(controls, text);
    } catch (const SettingsLineError& e) {
        throw SettingsReadError("cannot read " + path.string() + ": " + e.what(), e.Line());
    }
}

void LoadSettings(SettingsControls& controls, const std::filesystem::path& path)
{
    try {
        ReadSettingsFile(controls, path);
        return;
    } catch (const SettingsReadError&) {
        // The first failure: rewrite the file from the controls as they now are and read
        // it once more. A failure from here on goes to the caller.
    }
    SaveSettings(controls, path);
    ReadSettingsFile(controls, path);
}

} // namespace modOmbrix
