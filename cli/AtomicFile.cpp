#include "AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace WEQCli {

namespace {

std::string Folder(const std::string& Path)
{
    const std::size_t Slash = Path.find_last_of('/');
    return Slash == std::string::npos ? "." : Slash == 0 ? "/" : Path.substr(0, Slash);
}

std::string Reason(int Code) { return std::strerror(Code); }

// A name beside Path that no one else uses.
std::string TemporaryName(const std::string& Path)
{
    thread_local std::mt19937_64 Random{std::random_device{}()};
    static std::atomic<unsigned> Counter{0};
    const std::size_t Slash = Path.find_last_of('/');
    const std::string Dir = Slash == std::string::npos ? std::string() : Path.substr(0, Slash + 1);
    const std::string Name = Slash == std::string::npos ? Path : Path.substr(Slash + 1);
    char Suffix[40];
    std::snprintf(Suffix, sizeof Suffix, ".%u.%016llx", Counter++, static_cast<unsigned long long>(Random()));
    return Dir + "." + Name + Suffix;
}

bool ProcFdUsable()
{
    static const bool Usable = access("/proc/self/fd", X_OK) == 0;
    return Usable;
}

} // namespace

TAtomicFile::~TAtomicFile() { Discard(); }

void TAtomicFile::Discard()
{
    if (Fd >= 0)
        close(Fd);
    Fd = -1;
    if (!TempPath.empty())
        unlink(TempPath.c_str());
    TempPath.clear();
}

bool TAtomicFile::Open(const std::string& Target, std::string& Error)
{
    Discard();
    Path = Target;
    if (ProcFdUsable()) {
        Fd = open(Folder(Path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (Fd >= 0)
            return true;
        // Only a file system without unnamed files falls back to a named one.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            Error = "cannot write " + Path + ": " + Reason(errno);
            return false;
        }
    }
    for (int Attempt = 0; Attempt < 16; ++Attempt) {
        TempPath = TemporaryName(Path);
        Fd = open(TempPath.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (Fd >= 0)
            return true;
        const int Code = errno;
        TempPath.clear();
        if (Code != EEXIST) {
            Error = "cannot write " + Path + ": " + Reason(Code);
            return false;
        }
    }
    Error = "cannot write " + Path + ": no free temporary name";
    return false;
}

bool TAtomicFile::Write(const void* Data, std::size_t Size, std::string& Error)
{
    const char* P = static_cast<const char*>(Data);
    while (Size > 0) {
        const ssize_t N = write(Fd, P, Size);
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0) {
            // A write that stores nothing without an error is a full disk.
            Error = "cannot write " + Path + ": " + (N < 0 ? Reason(errno) : std::string("no space left"));
            Discard();
            return false;
        }
        P += N;
        Size -= std::size_t(N);
    }
    return true;
}

bool TAtomicFile::Commit(bool Sync, std::string& Error)
{
    const auto Failed = [&](int Code) {
        Error = "cannot write " + Path + ": " + Reason(Code);
        Discard();
        return false;
    };
    if (Fd < 0)
        return Failed(EBADF);
    if (Sync && fdatasync(Fd) != 0)
        return Failed(errno);
    if (TempPath.empty()) {
        // The unnamed file gets its name; where the name is taken, a
        // temporary one first, then the rename that replaces the old file.
        const std::string Self = "/proc/self/fd/" + std::to_string(Fd);
        if (linkat(AT_FDCWD, Self.c_str(), AT_FDCWD, Path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            if (close(std::exchange(Fd, -1)) == 0)
                return true;
            const int Code = errno; // the bytes may not have reached the file: take the name back
            unlink(Path.c_str());
            return Failed(Code);
        }
        if (errno != EEXIST)
            return Failed(errno);
        for (int Attempt = 0; Attempt < 16 && TempPath.empty(); ++Attempt) {
            const std::string Name = TemporaryName(Path);
            if (linkat(AT_FDCWD, Self.c_str(), AT_FDCWD, Name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                TempPath = Name;
            else if (errno != EEXIST)
                return Failed(errno);
        }
        if (TempPath.empty())
            return Failed(EEXIST);
    }
    if (close(std::exchange(Fd, -1)) != 0)
        return Failed(errno);
    if (rename(TempPath.c_str(), Path.c_str()) != 0)
        return Failed(errno);
    TempPath.clear();
    return true;
}

bool WriteAtomically(const std::string& Path, const void* Data, std::size_t Size, std::string& Error)
{
    TAtomicFile File;
    return File.Open(Path, Error) && File.Write(Data, Size, Error) && File.Commit(false, Error);
}

} // namespace WEQCli
