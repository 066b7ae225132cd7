// The one writer of files: the exports, the command line and its sheets all
// write through it.

#include "ean/WEQEanExport.h"
#include "export/Writers_p.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace WEQEan {

namespace {

std::string Folder(const std::string& Path)
{
    const std::size_t Slash = Path.find_last_of('/');
    return Slash == std::string::npos ? "." : Slash == 0 ? "/" : Path.substr(0, Slash);
}

QString Reason(int Code) { return QString::fromLocal8Bit(std::strerror(Code)); }

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

struct TAtomicFile::TImpl {
    QString Path;
    std::string Target, TempPath; // TempPath: the named temporary, where no unnamed one could be made
    int Fd = -1;
};

TAtomicFile::TAtomicFile() : d(std::make_unique<TImpl>()) {}

TAtomicFile::~TAtomicFile() { Discard(); }

int TAtomicFile::Descriptor() const { return d->Fd; }

void TAtomicFile::Discard()
{
    if (d->Fd >= 0)
        close(d->Fd);
    d->Fd = -1;
    if (!d->TempPath.empty())
        unlink(d->TempPath.c_str());
    d->TempPath.clear();
}

bool TAtomicFile::Fail(QString* Error, const QString& Reason)
{
    if (Error)
        *Error = QStringLiteral("Cannot write %1: %2").arg(d->Path, Reason);
    Discard();
    return false;
}

bool TAtomicFile::Open(const QString& Path, QString* Error)
{
    Discard();
    d->Path = Path;
    if (Path.isEmpty())
        return Fail(Error, QStringLiteral("no file name"));
    if (Path.contains(QChar(0)))
        return Fail(Error, QStringLiteral("the name holds a NUL character"));
    d->Target = QFile::encodeName(Path).toStdString();
    // A file that is there and may not be written stays as it is, as a
    // program that opened it for writing would find.
    struct stat Info {};
    if (lstat(d->Target.c_str(), &Info) == 0 && S_ISREG(Info.st_mode) && access(d->Target.c_str(), W_OK) != 0)
        return Fail(Error, Reason(errno));
    if (lstat(d->Target.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode))
        return Fail(Error, Reason(EISDIR));
    if (ProcFdUsable()) {
        d->Fd = open(Folder(d->Target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (d->Fd >= 0)
            return true;
        // Only a file system without unnamed files falls back to a named one.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return Fail(Error, Reason(errno));
    }
    for (int Attempt = 0; Attempt < 16; ++Attempt) {
        d->TempPath = TemporaryName(d->Target);
        d->Fd = open(d->TempPath.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (d->Fd >= 0)
            return true;
        const int Code = errno;
        d->TempPath.clear();
        if (Code != EEXIST)
            return Fail(Error, Reason(Code));
    }
    return Fail(Error, QStringLiteral("no free temporary name"));
}

bool TAtomicFile::Write(const void* Data, std::size_t Size, QString* Error)
{
    const char* P = static_cast<const char*>(Data);
    while (Size > 0) {
        const ssize_t N = write(d->Fd, P, Size);
        if (N < 0 && errno == EINTR)
            continue;
        // A write that stores nothing without an error is a full disk.
        if (N <= 0)
            return Fail(Error, N < 0 ? Reason(errno) : QStringLiteral("disk full"));
        P += N;
        Size -= std::size_t(N);
    }
    return true;
}

bool TAtomicFile::Commit(bool Sync, QString* Error)
{
    if (d->Fd < 0)
        return Fail(Error, Reason(EBADF));
    if (Sync && fdatasync(d->Fd) != 0)
        return Fail(Error, Reason(errno));
    // A file replaced keeps its permissions, as a file written in place would.
    struct stat Old {};
    if (lstat(d->Target.c_str(), &Old) == 0 && S_ISREG(Old.st_mode))
        fchmod(d->Fd, Old.st_mode & 07777);
    if (d->TempPath.empty()) {
        // The unnamed file gets its name; where the name is taken, a
        // temporary one first, then the rename that replaces the old file
        // (or the link: a rename replaces the link, never its target).
        const std::string Self = "/proc/self/fd/" + std::to_string(d->Fd);
        if (linkat(AT_FDCWD, Self.c_str(), AT_FDCWD, d->Target.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            if (close(std::exchange(d->Fd, -1)) == 0)
                return true;
            const int Code = errno; // the bytes may not have reached the file: take the name back
            unlink(d->Target.c_str());
            return Fail(Error, Reason(Code));
        }
        if (errno != EEXIST)
            return Fail(Error, Reason(errno));
        for (int Attempt = 0; Attempt < 16 && d->TempPath.empty(); ++Attempt) {
            const std::string Name = TemporaryName(d->Target);
            if (linkat(AT_FDCWD, Self.c_str(), AT_FDCWD, Name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                d->TempPath = Name;
            else if (errno != EEXIST)
                return Fail(Error, Reason(errno));
        }
        if (d->TempPath.empty())
            return Fail(Error, Reason(EEXIST));
    }
    if (close(std::exchange(d->Fd, -1)) != 0)
        return Fail(Error, Reason(errno));
    if (rename(d->TempPath.c_str(), d->Target.c_str()) != 0)
        return Fail(Error, Reason(errno));
    d->TempPath.clear();
    return true;
}

bool SaveFile(const QString& Path, const QByteArray& Data, QString* Error)
{
    TAtomicFile File;
    return File.Open(Path, Error) && File.Write(Data.constData(), std::size_t(Data.size()), Error) &&
           File.Commit(false, Error);
}

} // namespace WEQEan
