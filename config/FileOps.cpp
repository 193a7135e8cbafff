#include "config/FileOps.h"

#include <fcntl.h>

#ifdef _WIN32
#include "common/Utf16.h"
#include "common/Win32Api.h"

#include <io.h>
#else
#include <dirent.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#ifdef _WIN32

namespace {

// The errno value that says what the Win32 error says; EIO for what no errno value covers.
int ErrnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_CURRENT_DIRECTORY:
    case ERROR_NETWORK_ACCESS_DENIED:
        return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return EBUSY;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILE_TOO_LARGE:
        return EFBIG;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_INVALID_HANDLE:
        return EBADF;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_NO_UNICODE_TRANSLATION:
        return EINVAL;
    default:
        return EIO;
    }
}

int Failed(DWORD error) {
    errno = ErrnoOf(error);
    return -1;
}

// A directory cannot be opened or deleted as a file, and Windows says "access denied": say so as
// open(2) and unlink(2) do.
int FailedOn(const std::wstring& name, DWORD error) {
    const DWORD kind = GetFileAttributesW(name.c_str());
    if (error == ERROR_ACCESS_DENIED && kind != INVALID_FILE_ATTRIBUTES &&
        (kind & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        errno = EISDIR;
        return -1;
    }
    return Failed(error);
}

HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

// One ReadFile or WriteFile moves at most a DWORD's worth; the callers loop.
DWORD Portion(size_t size) {
    return size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
}

// Windows refuses to replace a file that another program holds open with "access denied", as
// it refuses one that the user may not change. Whether a program holds `name` open so that it
// may not be deleted tells the two apart.
bool HeldOpenElsewhere(const std::wstring& name) {
    const HANDLE handle =
        CreateFileW(name.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(handle);
    return false;
}

} // namespace

PathKind FileOps::KindOfPath(const char* path) {
    std::wstring name;
    const DWORD attributes =
        Widen(path, name) ? GetFileAttributesW(name.c_str()) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Folder : PathKind::File;
}
std::string FileOps::CurrentFolder() {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    return Narrow(folder);
}
int FileOps::EnterFolder(const char* folder) {
    std::wstring name;
    if (!Widen(folder, name))
        return Failed(ERROR_NO_UNICODE_TRANSLATION);
    return SetCurrentDirectoryW(name.c_str()) ? 0 : Failed(GetLastError());
}
std::string FileOps::FullPath(std::string_view path) {
    // GetFullPathNameW joins and cleans "." and "..".
    const std::wstring wide = Widen(path);
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return std::string(path);
        const bool fits = length < full.size();
        full.resize(length);
        if (fits)
            break;
    }
    // No separator at the end, unless it is a root ("C:\\").
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/'))
        full.pop_back();
    return Narrow(full);
}
int FileOps::ListDirectory(const char* path, std::vector<std::string>& names) {
    std::wstring pattern;
    if (!Widen(path, pattern))
        return Failed(ERROR_NO_UNICODE_TRANSLATION);
    pattern += L"\\*";
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return Failed(GetLastError());
    names.clear();
    do {
        const std::string name = Narrow(entry.cFileName);
        if (name != "." && name != ".." && !name.empty())
            names.push_back(name);
    } while (FindNextFileW(search, &entry));
    const DWORD error = GetLastError();
    FindClose(search);
    return error == ERROR_NO_MORE_FILES ? 0 : Failed(error);
}

int FileOps::Open(const char* path, int flags, mode_t) {
    std::wstring name;
    if (!Widen(path, name))
        return Failed(ERROR_NO_UNICODE_TRANSLATION);
    DWORD access = GENERIC_READ;
    if ((flags & O_ACCMODE) == O_WRONLY)
        access = GENERIC_WRITE;
    else if ((flags & O_ACCMODE) == O_RDWR)
        access = GENERIC_READ | GENERIC_WRITE;
    DWORD disposition = OPEN_EXISTING;
    if ((flags & O_CREAT) != 0)
        disposition = (flags & O_EXCL) != 0    ? CREATE_NEW
                      : (flags & O_TRUNC) != 0 ? CREATE_ALWAYS
                                               : OPEN_ALWAYS;
    else if ((flags & O_TRUNC) != 0)
        disposition = TRUNCATE_EXISTING;
    const HANDLE handle = CreateFileW(name.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return FailedOn(name, GetLastError());
    const int fd =
        _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_BINARY | (flags & O_ACCMODE));
    if (fd < 0) {
        CloseHandle(handle);
        errno = EMFILE;
    }
    return fd;
}
ssize_t FileOps::Read(int fd, void* buffer, size_t size) {
    DWORD done = 0;
    if (!ReadFile(HandleOf(fd), buffer, Portion(size), &done, nullptr))
        return Failed(GetLastError());
    return static_cast<ssize_t>(done);
}
ssize_t FileOps::Write(int fd, const void* buffer, size_t size) {
    DWORD done = 0;
    if (!WriteFile(HandleOf(fd), buffer, Portion(size), &done, nullptr))
        return Failed(GetLastError());
    return static_cast<ssize_t>(done);
}
int FileOps::GetAttributes(int fd, FileAttributes* attributes) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(HandleOf(fd), &info))
        return Failed(GetLastError());
    attributes->attributes = info.dwFileAttributes;
    attributes->size = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    attributes->creationTime = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(info.ftCreationTime.dwHighDateTime) << 32) |
        info.ftCreationTime.dwLowDateTime);
    return 0;
}
int FileOps::SetAttributes(int fd, const FileAttributes& attributes) {
    FILE_BASIC_INFO basic{}; // a time of 0 stays as it is
    basic.CreationTime.QuadPart = attributes.creationTime;
    basic.FileAttributes =
        attributes.attributes != 0 ? attributes.attributes : FILE_ATTRIBUTE_NORMAL;
    if (!SetFileInformationByHandle(HandleOf(fd), FileBasicInfo, &basic, sizeof basic))
        return Failed(GetLastError());
    return 0;
}
int FileOps::Fsync(int fd) {
    if (!FlushFileBuffers(HandleOf(fd)))
        return Failed(GetLastError());
    return 0;
}
int FileOps::Close(int fd) {
    return ::_close(fd);
}
int FileOps::Rename(const char* from, const char* to) {
    std::wstring source, target;
    if (!Widen(from, source) || !Widen(to, target))
        return Failed(ERROR_NO_UNICODE_TRANSLATION);
    if (MoveFileExW(source.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    const DWORD error = GetLastError();
    return Failed(error == ERROR_ACCESS_DENIED && HeldOpenElsewhere(target)
                      ? ERROR_SHARING_VIOLATION
                      : error);
}
int FileOps::Unlink(const char* path) {
    std::wstring name;
    if (!Widen(path, name))
        return Failed(ERROR_NO_UNICODE_TRANSLATION);
    if (DeleteFileW(name.c_str()))
        return 0;
    return FailedOn(name, GetLastError());
}

#else // POSIX

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
    DIR* dir = ::opendir(path);
    if (dir == nullptr)
        return -1;
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
int FileOps::Open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}
ssize_t FileOps::Read(int fd, void* buffer, size_t size) {
    return ::read(fd, buffer, size);
}
ssize_t FileOps::Write(int fd, const void* buffer, size_t size) {
    return ::write(fd, buffer, size);
}
int FileOps::Lstat(const char* path, struct stat* info) {
    return ::lstat(path, info);
}
int FileOps::RealPath(const char* path, std::string& resolved) {
    char* full = ::realpath(path, nullptr);
    if (full == nullptr)
        return -1;
    resolved = full;
    std::free(full);
    return 0;
}
int FileOps::Access(const char* path, int mode) {
    return ::access(path, mode);
}
int FileOps::Fstat(int fd, struct stat* info) {
    return ::fstat(fd, info);
}
int FileOps::Fchmod(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}
int FileOps::Fchown(int fd, uid_t owner, gid_t group) {
    return ::fchown(fd, owner, group);
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

#endif

FileOps& FileOps::System() {
    static FileOps system;
    return system;
}
