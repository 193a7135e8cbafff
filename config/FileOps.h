#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What a path names, a symbolic link followed.
enum class PathKind { Missing, Folder, File };

// What the rewrite learns of the file it replaces when it opens it.
struct FileInfo {
    bool regular = true;   // a plain file, not a device, a pipe or a socket
    std::int64_t size = 0; // in bytes, as the system says
    // The errno value that says why the file may not be changed (EACCES for one marked
    // read-only), or 0.
    int writeError = 0;
    // What the new file keeps of it. POSIX: its owner, group and permission bits. Windows: its
    // attribute bits (FILE_ATTRIBUTE_...) and its creation time (in 100 ns since 1601).
    std::uint32_t owner = 0, group = 0, mode = 0;
    std::uint32_t attributes = 0;
    std::int64_t creationTime = 0;
};

// Every file-system operation of the start and of the rewrite, one call each, with the system's
// conventions (-1 and errno on failure). The system's own are the default; a test can put its own
// in place to make any one call fail, stop a run at one, or keep the files in memory. The calls of
// a run come in an order that depends only on what they return. Paths are UTF-8; a descriptor only
// ever transfers bytes as they are (no text mode).
//
// One source file per system defines them: FileOpsPosix.cpp, FileOpsWin32.cpp (the Win32 file
// functions, errno set from the Win32 error).
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

    // The path that a new content written under `path` is to replace. POSIX: `path` itself, or
    // for a symbolic link its final target with every link resolved (the link stays). Windows:
    // `path` (a link under the name is replaced, as Windows programs save).
    virtual int ResolveLinks(const char* path, std::string& target);
    // Takes the lock that lets one rewrite at a time work in `folder`, waiting up to `waitMs`
    // milliseconds while another process or thread holds it; released by Unlock, or by the system
    // when the process ends. A lock value, or -1 with EWOULDBLOCK when it is still held then.
    // POSIX: flock(2) on the folder's descriptor; on a file system that keeps no locks it fails
    // with ENOLCK or EOPNOTSUPP. Windows: a mutex of this session named after the folder's full
    // path in small letters (a native program on the same folder under Wine does not see it).
    virtual int LockFolder(const char* folder, int waitMs);
    virtual void Unlock(int lock);
    // Opens an existing file to read and says what it is; a directory fails with EISDIR, a FIFO
    // does not wait for a writer. Windows: shared for reading only, so that nobody writes it
    // meanwhile.
    virtual int OpenToRead(const char* path, FileInfo& info);
    virtual ssize_t Read(int fd, void* buffer, size_t size);
    // Creates the file `path` to write; EEXIST when anything has that name (a link is not
    // followed).
    virtual int CreateExclusive(const char* path);
    // Gives the file open as `fd` what a new file keeps of `old` (see FileInfo). POSIX: the owner
    // only where the process may set it. Windows: of the attributes, hidden, system and not
    // indexed, and it is marked as changed since the last backup, as any file written is.
    virtual int KeepMetadata(int fd, const FileInfo& old);
    virtual ssize_t Write(int fd, const void* buffer, size_t size);
    // Returns when the file's data are on the disk (fsync, FlushFileBuffers).
    virtual int Fsync(int fd);
    virtual int Close(int fd);
    // Replaces an existing `to` in one step. Windows: MoveFileExW, replacing and writing through.
    virtual int Rename(const char* from, const char* to);
    virtual int Unlink(const char* path);
    // Returns when the creations, renames and removals in the folder that `lock` (LockFolder)
    // holds are on the disk. POSIX: fsync of the folder's descriptor that the lock is taken on.
    // Windows: nothing to do, Rename writes through.
    virtual int FlushFolder(int lock);

    // The operations of the system itself.
    static FileOps& System();
};
