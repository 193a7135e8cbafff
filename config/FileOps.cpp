#include "config/FileOps.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

int FileOps::Open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}
ssize_t FileOps::Read(int fd, void* buffer, size_t size) {
    return ::read(fd, buffer, size);
}
ssize_t FileOps::Write(int fd, const void* buffer, size_t size) {
    return ::write(fd, buffer, size);
}
int FileOps::Fstat(int fd, struct stat* info) {
    return ::fstat(fd, info);
}
int FileOps::Fchmod(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
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

FileOps& FileOps::System() {
    static FileOps system;
    return system;
}
