// The file operations of a POSIX system.
#include "config/FileOps.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

constexpr int kReadFolder = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#ifdef O_NOATIME // Linux
constexpr int kNoAccessTime = O_NOATIME;
#else
constexpr int kNoAccessTime = 0;
#endif

} // namespace

PathKind FileOps::KindOfPath(const char* path) {
    struct stat info;
    if (::stat(path, &info) != 0)
        return PathKind::Missing;
    return S_ISDIR(info.st_mode) ? PathKind::Folder : PathKind::File;
}
std::string FileOps::CurrentFolder() {
    char* folder = ::getcwd(nullptr, 0);
    if (folder == nullptr)
        return {};
    std::string current = folder;
    std::free(folder);
    return current;
}
int FileOps::EnterFolder(const char* folder) {
    return ::chdir(folder);
}
std::string FileOps::FullPath(std::string_view path) {
    const std::string joined =
        path.starts_with('/') ? std::string(path) : CurrentFolder() + "/" + std::string(path);
    std::vector<std::string_view> parts;
    for (std::size_t at = 0; at < joined.size();) {
        const std::size_t end = std::min(joined.find('/', at), joined.size());
        const std::string_view part = std::string_view(joined).substr(at, end - at);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        at = end + 1;
    }
    std::string full;
    for (const std::string_view part : parts)
        (full += '/') += part;
    return full.empty() ? "/" : full;
}
int FileOps::ListDirectory(const char* path, std::vector<std::string>& names) {
    // Read without touching the folder's access time where the system lets us (the owner): that
    // would be one more change for the rewrite's flush to write.
    int fd = kNoAccessTime == 0 ? -1 : ::open(path, kReadFolder | kNoAccessTime);
    if (fd < 0)
        fd = ::open(path, kReadFolder);
    DIR* dir = fd < 0 ? nullptr : ::fdopendir(fd);
    if (dir == nullptr) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        errno = error;
        return -1;
    }
    names.clear();
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    const int error = errno;
    ::closedir(dir);
    errno = error;
    return error == 0 ? 0 : -1;
}

int FileOps::ResolveLinks(const char* path, std::string& target) {
    struct stat info;
    if (::lstat(path, &info) != 0)
        return -1;
    if (!S_ISLNK(info.st_mode)) {
        target = path;
        return 0;
    }
    char* full = ::realpath(path, nullptr);
    if (full == nullptr)
        return -1;
    target = full;
    std::free(full);
    return 0;
}
int FileOps::LockFolder(const char* folder, int waitMs) {
    const int fd = ::open(folder, kReadFolder);
    if (fd < 0)
        return -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return fd;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
}
void FileOps::Unlock(int lock) {
    ::close(lock); // the lock goes with the folder's last descriptor
}
int FileOps::OpenToRead(const char* path, FileInfo& info) {
    // O_NONBLOCK: a FIFO under the file's name must not hang the program.
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return -1;
    struct stat status;
    const int error = ::fstat(fd, &status) != 0 ? errno : S_ISDIR(status.st_mode) ? EISDIR : 0;
    if (error != 0) {
        ::close(fd);
        errno = error;
        return -1;
    }
    info.regular = S_ISREG(status.st_mode);
    info.size = status.st_size;
    info.owner = status.st_uid;
    info.group = status.st_gid;
    info.mode = status.st_mode & 07777;
    // A file that is marked read-only stays as it is, even where the folder would let the rename
    // replace it.
    info.writeError = (info.mode & 0222) == 0 ? EACCES : ::access(path, W_OK) != 0 ? errno : 0;
    return fd;
}
ssize_t FileOps::Read(int fd, void* buffer, size_t size) {
    return ::read(fd, buffer, size);
}
int FileOps::CreateExclusive(const char* path) {
    return ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
}
int FileOps::KeepMetadata(int fd, const FileInfo& old) {
    if (::fchown(fd, old.owner, old.group) != 0 && errno != EPERM)
        return -1;
    return ::fchmod(fd, old.mode);
}
ssize_t FileOps::Write(int fd, const void* buffer, size_t size) {
    return ::write(fd, buffer, size);
}
int FileOps::Fsync(int fd) {
    return ::fsync(fd);
}
int FileOps::Close(int fd) {
    return ::close(fd);
}
int FileOps::Rename(const char* from, const char* to) {
    return std::rename(from, to);
}
int FileOps::Unlink(const char* path) {
    return ::unlink(path);
}
int FileOps::FlushFolder(int lock) {
    return ::fsync(lock); // the folder's descriptor (LockFolder)
}

FileOps& FileOps::System() {
    static FileOps system;
    return system;
}
