#pragma once

#include <sys/stat.h>
#include <sys/types.h>

// The file operations the rewriter performs, one call per system call, with the system's
// conventions (-1 and errno on failure). The rewriter uses the system's own by default; a test
// can put its own in place to make any one call fail.
class FileOps {
public:
    virtual ~FileOps() = default;
    virtual int Open(const char* path, int flags, mode_t mode);
    virtual ssize_t Read(int fd, void* buffer, size_t size);
    virtual ssize_t Write(int fd, const void* buffer, size_t size);
    virtual int Fstat(int fd, struct stat* info);
    virtual int Fchmod(int fd, mode_t mode);
    virtual int Fsync(int fd);
    virtual int Close(int fd);
    virtual int Rename(const char* from, const char* to);
    virtual int Unlink(const char* path);

    // The operations of the system itself.
    static FileOps& System();
};
