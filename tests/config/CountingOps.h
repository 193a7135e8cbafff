#pragma once

// The system's file operations, each counted and named by one letter before it is made, so that
// a test can make any one of them fail, or end the process there.
#include "config/FileOps.h"

#include <string>
#include <vector>

class CountingOps : public FileOps {
public:
    int calls = 0;
    std::string sequence; // one letter per call: l ListDirectory, o Open, r Read, w Write, ...
    int renamedAt = 0;    // the call that replaced the file

    int ListDirectory(const char* p, std::vector<std::string>& names) override {
        return Next('l') ? -1 : FileOps::ListDirectory(p, names);
    }
    int Open(const char* p, int f, mode_t m) override {
        return Next('o') ? -1 : FileOps::Open(p, f, m);
    }
    ssize_t Read(int fd, void* b, size_t n) override {
        return Next('r') ? -1 : FileOps::Read(fd, b, n);
    }
    ssize_t Write(int fd, const void* b, size_t n) override {
        return Next('w') ? -1 : FileOps::Write(fd, b, n);
    }
#ifdef _WIN32
    int GetAttributes(int fd, FileAttributes* a) override {
        return Next('g') ? -1 : FileOps::GetAttributes(fd, a);
    }
    int SetAttributes(int fd, const FileAttributes& a) override {
        return Next('s') ? -1 : FileOps::SetAttributes(fd, a);
    }
#else
    int Lstat(const char* p, struct stat* s) override {
        return Next('L') ? -1 : FileOps::Lstat(p, s);
    }
    int RealPath(const char* p, std::string& r) override {
        return Next('p') ? -1 : FileOps::RealPath(p, r);
    }
    int Access(const char* p, int m) override {
        return Next('a') ? -1 : FileOps::Access(p, m);
    }
    int Fstat(int fd, struct stat* s) override {
        return Next('t') ? -1 : FileOps::Fstat(fd, s);
    }
    int Fchmod(int fd, mode_t m) override {
        return Next('m') ? -1 : FileOps::Fchmod(fd, m);
    }
    int Fchown(int fd, uid_t u, gid_t g) override {
        return Next('h') ? -1 : FileOps::Fchown(fd, u, g);
    }
#endif
    int Fsync(int fd) override {
        return Next('f') ? -1 : FileOps::Fsync(fd);
    }
    int Close(int fd) override {
        const bool fail = Next('c');
        FileOps::Close(fd); // the descriptor is gone either way, as with close(2)
        return fail ? -1 : 0;
    }
    int Rename(const char* a, const char* b) override {
        if (Next('n'))
            return -1;
        renamedAt = calls;
        return FileOps::Rename(a, b);
    }
    int Unlink(const char* p) override {
        return Next('u') ? -1 : FileOps::Unlink(p);
    }

protected:
    // Called before the operation numbered `calls` (from 1); true makes it fail with errno.
    virtual bool Before() {
        return false;
    }

private:
    bool Next(char what) {
        sequence += what;
        ++calls;
        return Before();
    }
};
