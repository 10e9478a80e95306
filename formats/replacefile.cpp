#include "formats/replacefile.h"

#include "formats/errors.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace formats {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinks = 40; // as many as the system follows in one path
constexpr const char* kTag = "zorv-save-";
constexpr size_t kSuffixLength = 6;
constexpr char kSuffixChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kNameAttempts = 100;

int LastError() {
    return errno ? errno : EIO;
}

// Replaces `path` with the file its chain of symbolic links ends at; a relative
// link counts from the folder the link stands in. False (errno set) on a loop.
bool FollowLinks(fs::path& path) {
    for (int hops = 0;; ++hops) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
        if (hops == kMaxLinks) {
            errno = ELOOP;
            return false;
        }
        std::error_code ec;
        const fs::path link = fs::read_symlink(path, ec);
        if (ec) {
            errno = ec.value();
            return false;
        }
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
}

fs::path FolderOf(const fs::path& file) {
    const fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// FNV-1a: a stable stand-in for a name too long to repeat in a temporary name.
uint64_t NameHash(const std::string& name) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : name) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// What every temporary name of the file `name` starts with; a random suffix of
// kSuffixLength characters follows.
std::string TempPrefix(const std::string& name) {
    const std::string prefix = "." + name + "." + kTag;
    if (prefix.size() + kSuffixLength <= NAME_MAX) return prefix;
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(NameHash(name)));
    return std::string(".") + kTag + hash + "-";
}

bool IsSuffixChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool IsTempName(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + kSuffixLength || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (size_t i = prefix.size(); i < name.size(); ++i)
        if (!IsSuffixChar(name[i])) return false;
    return true;
}

std::string RandomSuffix() {
    thread_local std::mt19937_64 engine{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, sizeof kSuffixChars - 2);
    std::string suffix;
    for (size_t i = 0; i < kSuffixLength; ++i)
        suffix += kSuffixChars[pick(engine)];
    return suffix;
}

// Copies `size` bytes from the start of `from` to the start of `to`.
int CopyAll(int from, int to, off_t size) {
    char buffer[1 << 16];
    for (off_t done = 0; done < size;) {
        const size_t want = static_cast<size_t>(std::min<off_t>(size - done, sizeof buffer));
        const ssize_t got = pread(from, buffer, want, done);
        if (got <= 0) return got < 0 ? LastError() : EIO;
        for (ssize_t put = 0; put < got;) {
            const ssize_t n = pwrite(to, buffer + put, static_cast<size_t>(got - put), done + put);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return n < 0 ? LastError() : EIO;
            put += n;
        }
        done += got;
    }
    return 0;
}

// Makes a rename in `folder` last through a crash; failures change nothing.
void SyncFolder(const fs::path& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

} // namespace

void IgnoreFileSizeSignal() {
    struct sigaction current {};
    if (sigaction(SIGXFSZ, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) return;
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, nullptr);
}

ReplaceFile::ReplaceFile(const fs::path& target) : target_(target), resolved_(target) {
    IgnoreFileSizeSignal();
    if (!FollowLinks(resolved_)) Refuse(std::strerror(errno));
    struct stat info {};
    if (stat(resolved_.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) Refuse(std::strerror(EISDIR));
        if (!S_ISREG(info.st_mode)) Refuse("Not a regular file");
        // Replacing needs only the folder's permission; refuse what a plain write would.
        if (faccessat(AT_FDCWD, resolved_.c_str(), W_OK, AT_EACCESS) != 0)
            Refuse(std::strerror(errno));
        existed_ = true;
        mode_ = info.st_mode & 07777;
        owner_ = info.st_uid;
        group_ = info.st_gid;
    } else if (errno != ENOENT) {
        Refuse(std::strerror(errno));
    }

    // A new file gets the usual mode (0666 less the umask); a replaced one gets
    // its old mode at Commit().
    const std::string prefix = TempPrefix(resolved_.filename().string());
    const fs::path folder = FolderOf(resolved_);
    int fd = -1;
    int error = EEXIST;
    for (int attempt = 0; fd < 0 && error == EEXIST && attempt < kNameAttempts; ++attempt) {
        fs::path candidate = folder / (prefix + RandomSuffix());
        fd = open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, existed_ ? 0600 : 0666);
        if (fd >= 0)
            temp_ = std::move(candidate);
        else
            error = errno;
    }
    if (fd < 0) {
        if (!existed_ || (error != EACCES && error != EPERM)) Refuse(std::strerror(error));
        OpenInMemory();
        return;
    }
    file_ = fdopen(fd, "w+b");
    if (!file_) {
        error = errno;
        close(fd);
        unlink(temp_.c_str());
        Refuse(std::strerror(error));
    }
}

ReplaceFile::~ReplaceFile() {
    if (file_) std::fclose(file_);
    if (!temp_.empty()) unlink(temp_.c_str());
}

void ReplaceFile::Refuse(const char* reason) const {
    throw EInOutError("Cannot create file \"" + target_.string() + "\". " + reason);
}

void ReplaceFile::WriteFailed(int error) const {
    throw EInOutError("Cannot write file \"" + target_.string() + "\". " + std::strerror(error));
}

// The folder takes no new file: gather the contents in memory, so that nothing
// touches the file before they are complete.
void ReplaceFile::OpenInMemory() {
    const int fd = memfd_create("zorv-save", MFD_CLOEXEC);
    if (fd < 0) Refuse(std::strerror(errno));
    file_ = fdopen(fd, "w+b");
    if (!file_) {
        const int error = errno;
        close(fd);
        Refuse(std::strerror(error));
    }
}

void ReplaceFile::Commit() {
    const int error = temp_.empty() ? WriteInPlace() : CloseAndRename();
    if (error != 0) WriteFailed(error);
    RemoveLeftovers();
}

// Each step keeps the first error, so later clean-up cannot hide it.
int ReplaceFile::CloseAndRename() {
    int error = 0;
    const int fd = fileno(file_);
    errno = 0;
    if (std::fflush(file_) != 0 || fsync(fd) != 0)
        error = LastError();
    else if (existed_ && fchown(fd, owner_, group_) != 0 && errno != EPERM)
        error = LastError();
    else if (existed_ && fchmod(fd, mode_) != 0)
        error = LastError();
    if (std::fclose(file_) != 0 && error == 0) error = LastError();
    file_ = nullptr;
    if (error == 0 && std::rename(temp_.c_str(), resolved_.c_str()) != 0) error = LastError();
    if (error != 0) return error; // the destructor removes the temporary file
    temp_.clear();
    SyncFolder(FolderOf(resolved_));
    return 0;
}

// Room for `size` bytes in the open file, claimed before anything is written,
// so that a full disk or a file-size limit refuses the save with the file as
// it was. A file system that cannot reserve space is written without.
static int ReserveRoom(int fd, off_t size) {
    struct stat before {};
    if (fstat(fd, &before) != 0) return LastError();
    if (size <= before.st_size || fallocate(fd, 0, 0, size) == 0) return 0;
    const int error = LastError();
    if (error == EOPNOTSUPP || error == ENOSYS) return 0;
    // A reservation that failed part way may have grown the file: cut it back.
    if (ftruncate(fd, before.st_size) != 0) return LastError();
    return error;
}

// A crash while this runs leaves the file cut short or mixed; it is used only
// when the folder allows nothing else.
int ReplaceFile::WriteInPlace() {
    int error = 0;
    const int memory = fileno(file_);
    struct stat info {};
    errno = 0;
    if (std::fflush(file_) != 0 || fstat(memory, &info) != 0) error = LastError();
    if (error == 0) {
        const int fd = open(resolved_.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) {
            error = LastError();
        } else {
            error = ReserveRoom(fd, info.st_size);
            if (error == 0) error = CopyAll(memory, fd, info.st_size);
            if (error == 0 && ftruncate(fd, info.st_size) != 0) error = LastError();
            if (error == 0 && fsync(fd) != 0) error = LastError();
            if (close(fd) != 0 && error == 0) error = LastError();
        }
    }
    std::fclose(file_);
    file_ = nullptr;
    return error;
}

void ReplaceFile::RemoveLeftovers() const {
    const std::string prefix = TempPrefix(resolved_.filename().string());
    std::error_code ec;
    for (fs::directory_iterator it(FolderOf(resolved_), ec), end; !ec && it != end;
         it.increment(ec)) {
        struct stat info {};
        if (IsTempName(it->path().filename().string(), prefix) &&
            lstat(it->path().c_str(), &info) == 0 && S_ISREG(info.st_mode))
            unlink(it->path().c_str());
    }
}

} // namespace formats
