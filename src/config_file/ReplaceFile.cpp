#include "ReplaceFile.h"
#include "ConfigFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <optional>
#include <random>
#include <system_error>

namespace kt41::config_file {

namespace fs = std::filesystem;

namespace {

// Symbolic links in a row before giving up, as the kernel does (ELOOP).
constexpr int kMaxLinkHops = 40;
// Bytes of the target's name taken into the temporary name, which keeps the
// temporary name within the 255-byte limit of a name whatever the target's is.
constexpr std::size_t kNameBytesInTemporary = 64;
constexpr int kTemporaryNameAttempts = 100;
constexpr mode_t kNewFileMode = 0666; // less the umask, as for any new file

// The outcome of one step: 0 or the errno value it failed with.
struct Failure {
    int Error = 0;
    std::string Text; // overrides the operating system's text for Error
};

// The reason as the program's user reads it: in Russian for what an engineer
// meets when saving, in the operating system's words otherwise.
std::string Describe(const Failure& f) {
    if (!f.Text.empty()) {
        return f.Text;
    }
    switch (f.Error) {
    case ENOSPC:
        return "нет места на диске";
    case EDQUOT:
        return "превышена дисковая квота";
    case EROFS:
        return "диск или папка только для чтения";
    case EACCES:
    case EPERM:
        return "нет прав на запись";
    case EFBIG:
        return "файл больше допустимого размера";
    case ENOENT:
    case ENOTDIR:
        return "нет такой папки";
    case EISDIR:
        return "это папка, а не файл";
    case ENAMETOOLONG:
        return "слишком длинное имя файла";
    case ELOOP:
        return "слишком много ссылок по пути к файлу";
    case EIO:
        return "ошибка ввода-вывода диска";
    default:
        return std::generic_category().message(f.Error);
    }
}

// The file that `path` finally names: symbolic links are followed to their end,
// so that saving through a link replaces the linked file and keeps the link. A
// link to a file that does not exist yet names that file.
std::optional<fs::path> FollowLinks(fs::path path, Failure& failure) {
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0) {
            if (errno == ENOENT) {
                return path; // a new file; a missing folder fails when it is written
            }
            failure.Error = errno;
            return std::nullopt;
        }
        if (!S_ISLNK(st.st_mode)) {
            return path;
        }
        std::error_code ec;
        const fs::path target = fs::read_symlink(path, ec);
        if (ec) {
            failure.Error = ec.value();
            return std::nullopt;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    failure.Error = ELOOP;
    return std::nullopt;
}

// At most `limit` bytes of a UTF-8 text, never cutting a character in two.
std::string Utf8Prefix(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) {
        return text;
    }
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end; // text[end] continues a character that starts before it
    }
    return text.substr(0, end);
}

// A file created next to the target under a name of its own, removed again
// unless it has been renamed into place.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        Close();
        if (!path_.empty()) {
            unlink(path_.c_str());
        }
    }

    // Creates ".<name>.<random>.tmp" in `folder`; O_EXCL makes sure that an
    // existing file of that name is never opened, let alone replaced. The
    // leading dot hides it, and its extension keeps it out of any list of
    // configuration files should the program be killed before it is renamed.
    bool Create(const fs::path& folder, const std::string& targetName, mode_t mode, Failure& f) {
        std::random_device seed;
        std::mt19937_64 random((std::uint64_t(seed()) << 32) ^ seed() ^ std::uint64_t(getpid()));
        const std::string stem = "." + Utf8Prefix(targetName, kNameBytesInTemporary) + ".";
        for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
            char suffix[17];
            std::snprintf(suffix, sizeof suffix, "%016llx",
                          static_cast<unsigned long long>(random()));
            const fs::path candidate = folder / (stem + suffix + ".tmp");
            const int fd =
                open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
            if (fd >= 0) {
                fd_ = fd;
                path_ = candidate;
                return true;
            }
            if (errno != EEXIST) {
                f.Error = errno;
                return false;
            }
        }
        f.Error = EEXIST;
        return false;
    }

    int Descriptor() const { return fd_; }
    const fs::path& Path() const { return path_; }

    // Closes the file; a failing close can be the first report of a failed
    // write (on network file systems, for one).
    bool Close(Failure* f = nullptr) {
        if (fd_ < 0) {
            return true;
        }
        const int result = close(fd_);
        fd_ = -1;
        if (result != 0 && f != nullptr) {
            f->Error = errno;
        }
        return result == 0;
    }

    // The file is in place under the target's name: nothing to remove.
    void Renamed() { path_.clear(); }

private:
    int fd_ = -1;
    fs::path path_;
};

bool WriteAll(int fd, std::string_view content, Failure& f) {
    while (!content.empty()) {
        const ssize_t written = write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            f.Error = errno; // EFBIG, ENOSPC, EDQUOT, EIO ...
            return false;
        }
        content.remove_prefix(std::size_t(written));
    }
    return true;
}

bool Flush(int fd, Failure& f) {
    while (fsync(fd) != 0) {
        if (errno != EINTR) {
            f.Error = errno;
            return false;
        }
    }
    return true;
}

// Flushes the folder's entries, so that the rename is on disk. A folder that
// cannot be opened or flushed (some file systems refuse fsync on folders) does
// not undo the save: the new file is already complete under its name.
void FlushFolder(const fs::path& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        Failure ignored;
        Flush(fd, ignored);
        close(fd);
    }
}

// Gives the new file the permissions and, where allowed, the owner and group
// of the file it replaces. Only a privileged process may give a file away, and
// a group only to one of its own groups; otherwise the new file belongs to
// whoever saved it, as with any editor. The owner goes first: changing it
// clears set-id bits.
void CopyOwnerAndMode(int fd, const struct stat& previous) {
    struct stat own {};
    if (fstat(fd, &own) == 0) {
        if (own.st_uid != previous.st_uid && fchown(fd, previous.st_uid, uid_t(-1)) != 0) {
            // kept as it is
        }
        if (own.st_gid != previous.st_gid && fchown(fd, uid_t(-1), previous.st_gid) != 0) {
            // kept as it is
        }
    }
    fchmod(fd, previous.st_mode & 07777);
}

bool Replace(const fs::path& requested, std::string_view content, Failure& f) {
    const std::optional<fs::path> target = FollowLinks(requested, f);
    if (!target) {
        return false;
    }
    struct stat previous {};
    const bool existed = stat(target->c_str(), &previous) == 0;
    if (!existed && errno != ENOENT) {
        f.Error = errno;
        return false;
    }
    if (existed) {
        if (S_ISDIR(previous.st_mode)) {
            f.Error = EISDIR;
            return false;
        }
        if (!S_ISREG(previous.st_mode)) {
            f.Error = EINVAL;
            f.Text = "это не обычный файл";
            return false;
        }
        // A file its owner made read-only stays as it is, as a write in place
        // would; this also names a read-only file system before anything is made.
        if (faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS) != 0) {
            f.Error = errno;
            return false;
        }
    }

    const fs::path folder = target->has_parent_path() ? target->parent_path() : fs::path(".");
    TemporaryFile temporary;
    const mode_t mode = existed ? (S_IRUSR | S_IWUSR) : kNewFileMode;
    if (!temporary.Create(folder, target->filename().string(), mode, f)) {
        return false;
    }
    if (existed) {
        CopyOwnerAndMode(temporary.Descriptor(), previous);
    }
    if (!WriteAll(temporary.Descriptor(), content, f) || !Flush(temporary.Descriptor(), f) ||
        !temporary.Close(&f)) {
        return false;
    }
    if (rename(temporary.Path().c_str(), target->c_str()) != 0) {
        f.Error = errno;
        return false;
    }
    temporary.Renamed();
    FlushFolder(folder);
    return true;
}

} // namespace

bool ReplaceFile(const fs::path& path, std::string_view content, std::string* why) {
    Failure failure;
    if (Replace(path, content, failure)) {
        return true;
    }
    if (why != nullptr) {
        *why = Describe(failure);
    }
    return false;
}

void IgnoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace kt41::config_file
