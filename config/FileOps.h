#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

// What a path names, a symbolic link followed.
enum class PathKind { Missing, Folder, File };

#ifdef _WIN32
#include <cstdint>

// What a file carries besides its content on Windows: its attribute bits (FILE_ATTRIBUTE_...)
// and its creation time (in 100 ns since 1601, as a FILETIME holds it). Its size in bytes is
// read with them and never set.
struct FileAttributes {
    std::uint32_t attributes = 0;
    std::int64_t creationTime = 0;
    std::int64_t size = 0;
};
#endif

// Every file-system operation the rewriter performs, one call each, with the system's
// conventions (-1 and errno on failure). The rewriter uses the system's own by default; a test
// can put its own in place to make any one call fail, or keep the files in memory. The calls of a
// run come in an order that depends only on what they return.
//
// On Windows they are the Win32 file functions with the same conventions: paths are UTF-8,
// `flags` are the C runtime's O_ flags and `mode` is not used; a descriptor is the C runtime's
// for the Win32 handle and only ever transfers bytes as they are (no text mode); errno is set
// from the Win32 error. A file is opened shared for reading only, so that nobody writes it
// meanwhile. Rename replaces an existing `to` in one step and returns when that is on the disk
// (MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
class FileOps {
public:
    virtual ~FileOps() = default;
    // What `path` is; Missing also when that cannot be told.
    virtual PathKind KindOfPath(const char* path);
    // The absolute path of the current folder.
    virtual std::string CurrentFolder();
    // Makes `folder` the current folder.
    virtual int EnterFolder(const char* folder);
    // `path` made absolute against the current folder and cleaned: no "." or "..", no separator
    // at the end but the root's; links are not resolved. Its folder is FullPath(path + "/..").
    virtual std::string FullPath(std::string_view path);
    // The names in the directory `path`, "." and ".." left out.
    virtual int ListDirectory(const char* path, std::vector<std::string>& names);
    virtual int Open(const char* path, int flags, mode_t mode);
    virtual ssize_t Read(int fd, void* buffer, size_t size);
    virtual ssize_t Write(int fd, const void* buffer, size_t size);
#ifdef _WIN32
    virtual int GetAttributes(int fd, FileAttributes* attributes);
    // Leaves the file's other times as they are.
    virtual int SetAttributes(int fd, const FileAttributes& attributes);
#else
    // What `path` itself is, a symbolic link not followed.
    virtual int Lstat(const char* path, struct stat* info);
    // The absolute path of `path` with every symbolic link resolved (realpath).
    virtual int RealPath(const char* path, std::string& resolved);
    virtual int Access(const char* path, int mode);
    virtual int Fstat(int fd, struct stat* info);
    virtual int Fchmod(int fd, mode_t mode);
    virtual int Fchown(int fd, uid_t owner, gid_t group);
#endif
    virtual int Fsync(int fd);
    virtual int Close(int fd);
    virtual int Rename(const char* from, const char* to);
    virtual int Unlink(const char* path);

    // The operations of the system itself.
    static FileOps& System();
};
