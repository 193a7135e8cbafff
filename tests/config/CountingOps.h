#pragma once

// The system's file operations, each counted and named by one letter before it is made, so that
// a test can make any one of them fail, or end the process there.
#include "config/FileOps.h"

#include <cerrno>
#include <future>
#include <string>
#include <vector>

class CountingOps : public FileOps {
public:
    int calls = 0;
    // A letter per Rename and FlushFolder: 'h' while another thread finds the current folder's
    // lock held (and FlushFolder gets the lock that LockFolder gave), else 'x'.
    std::string locked;
    std::string sequence; // one letter per call: l ListDirectory, o OpenToRead, r Read, ...
    int renamedAt = 0;    // the call that replaced the file

    int ListDirectory(const char* p, std::vector<std::string>& names) override {
        return Next('l') ? -1 : FileOps::ListDirectory(p, names);
    }
    int ResolveLinks(const char* p, std::string& t) override {
        return Next('p') ? -1 : FileOps::ResolveLinks(p, t);
    }
    int LockFolder(const char* f, int ms) override {
        return Next('k') ? -1 : (m_lock = FileOps::LockFolder(f, ms));
    }
    int OpenToRead(const char* p, FileInfo& i) override {
        return Next('o') ? -1 : FileOps::OpenToRead(p, i);
    }
    ssize_t Read(int fd, void* b, size_t n) override {
        return Next('r') ? -1 : FileOps::Read(fd, b, n);
    }
    int CreateExclusive(const char* p) override {
        return Next('e') ? -1 : FileOps::CreateExclusive(p);
    }
    int KeepMetadata(int fd, const FileInfo& i) override {
        return Next('m') ? -1 : FileOps::KeepMetadata(fd, i);
    }
    ssize_t Write(int fd, const void* b, size_t n) override {
        return Next('w') ? -1 : FileOps::Write(fd, b, n);
    }
    int Fsync(int fd) override { return Next('f') ? -1 : FileOps::Fsync(fd); }
    int Close(int fd) override {
        const bool fail = Next('c');
        FileOps::Close(fd); // the descriptor is gone either way, as with close(2)
        return fail ? -1 : 0;
    }
    int Rename(const char* a, const char* b) override {
        locked += Held();
        if (Next('n'))
            return -1;
        renamedAt = calls;
        return FileOps::Rename(a, b);
    }
    int Unlink(const char* p) override { return Next('u') ? -1 : FileOps::Unlink(p); }
    int FlushFolder(int lock) override {
        locked += lock == m_lock ? Held() : 'x';
        return Next('d') ? -1 : FileOps::FlushFolder(lock);
    }

protected:
    // Called before the operation numbered `calls` (from 1); true makes it fail with errno.
    virtual bool Before() { return false; }

private:
    static char Held() {
        return std::async(std::launch::async,
                          [] {
                              const int other = System().LockFolder(".", 0);
                              if (other >= 0)
                                  System().Unlock(other);
                              return other < 0 && errno == EWOULDBLOCK ? 'h' : 'x';
                          })
            .get();
    }
    bool Next(char what) {
        sequence += what;
        ++calls;
        return Before();
    }
    int m_lock = -1;
};
