// The file operations of Windows, over the Win32 file functions.
#include "config/FileOps.h"

#include "common/Utf16.h"
#include "common/Win32Api.h"

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

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

// Opens `path` as CreateFileW does (`access`, `disposition`), shared for reading only; a C
// runtime descriptor of the handle.
int OpenFile(const char* path, DWORD access, DWORD disposition) {
    std::wstring name;
    if (!Widen(path, name))
        return Failed(ERROR_NO_UNICODE_TRANSLATION);
    const HANDLE handle = CreateFileW(name.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return FailedOn(name, GetLastError());
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle),
                                   _O_BINARY | (access == GENERIC_READ ? _O_RDONLY : _O_WRONLY));
    if (fd < 0) {
        CloseHandle(handle);
        errno = EMFILE;
    }
    return fd;
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

int FileOps::ResolveLinks(const char* path, std::string& target) {
    target = path;
    return 0;
}
int FileOps::LockFolder(const char* folder, int waitMs) {
    // A mutex of the session named after the folder's full path in small letters; as a name may
    // hold no backslash and at most MAX_PATH characters, after its hash (FNV-1a).
    std::wstring path = Widen(FullPath(folder));
    CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
    std::uint64_t hash = 14695981039346656037u;
    for (const wchar_t c : path)
        hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211u;
    const HANDLE mutex =
        CreateMutexW(nullptr, FALSE, (L"il18-loader folder " + std::to_wstring(hash)).c_str());
    if (mutex == nullptr)
        return Failed(GetLastError());
    // A mutex whose holder ended without releasing it is abandoned, and then ours: the holder's
    // rename was made whole or not at all.
    const DWORD waited = WaitForSingleObject(mutex, static_cast<DWORD>(waitMs));
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
        return static_cast<int>(reinterpret_cast<std::intptr_t>(mutex));
    const DWORD error = GetLastError();
    CloseHandle(mutex);
    if (waited != WAIT_TIMEOUT)
        return Failed(error);
    errno = EWOULDBLOCK;
    return -1;
}
void FileOps::Unlock(int lock) {
    const HANDLE mutex = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(lock));
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}
int FileOps::OpenToRead(const char* path, FileInfo& info) {
    // A directory is not opened without FILE_FLAG_BACKUP_SEMANTICS: EISDIR, as FailedOn says.
    const int fd = OpenFile(path, GENERIC_READ, OPEN_EXISTING);
    if (fd < 0)
        return -1;
    BY_HANDLE_FILE_INFORMATION file;
    if (!GetFileInformationByHandle(HandleOf(fd), &file)) {
        const DWORD error = GetLastError();
        ::_close(fd);
        return Failed(error);
    }
    info.regular = true;
    info.size = static_cast<std::int64_t>((static_cast<std::uint64_t>(file.nFileSizeHigh) << 32) |
                                          file.nFileSizeLow);
    info.attributes = file.dwFileAttributes;
    info.creationTime = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(file.ftCreationTime.dwHighDateTime) << 32) |
        file.ftCreationTime.dwLowDateTime);
    info.writeError = (file.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0 ? EACCES : 0;
    return fd;
}
ssize_t FileOps::Read(int fd, void* buffer, size_t size) {
    DWORD done = 0;
    if (!ReadFile(HandleOf(fd), buffer, Portion(size), &done, nullptr))
        return Failed(GetLastError());
    return static_cast<ssize_t>(done);
}
int FileOps::CreateExclusive(const char* path) {
    return OpenFile(path, GENERIC_WRITE, CREATE_NEW);
}
int FileOps::KeepMetadata(int fd, const FileInfo& old) {
    FILE_BASIC_INFO basic{}; // a time of 0 stays as it is
    basic.CreationTime.QuadPart = old.creationTime;
    basic.FileAttributes = (old.attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                              FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)) |
                           FILE_ATTRIBUTE_ARCHIVE;
    if (!SetFileInformationByHandle(HandleOf(fd), FileBasicInfo, &basic, sizeof basic))
        return Failed(GetLastError());
    return 0;
}
ssize_t FileOps::Write(int fd, const void* buffer, size_t size) {
    DWORD done = 0;
    if (!WriteFile(HandleOf(fd), buffer, Portion(size), &done, nullptr))
        return Failed(GetLastError());
    return static_cast<ssize_t>(done);
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

int FileOps::FlushFolder(int) {
    return 0; // Rename wrote through
}

FileOps& FileOps::System() {
    static FileOps system;
    return system;
}
