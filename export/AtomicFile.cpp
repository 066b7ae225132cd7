// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The one writer of files: the exports, the command line and its sheets all
// write through it.

#include "ean/WEQEanExport.h"
#include "export/Writers_p.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <utility>
#include <vector>

namespace WEQEan {

namespace {

std::string Folder(const std::string& Path)
{
    const std::size_t Slash = Path.find_last_of('/');
    return Slash == std::string::npos ? "." : Slash == 0 ? "/" : Path.substr(0, Slash);
}

QString Reason(int Code) { return QString::fromLocal8Bit(std::strerror(Code)); }

// Named temporaries are ".NAME.weqtmp-PID-HOST-RANDOM": the process that
// made one, and the machine it ran on, so that a later write to the same
// name can tell one left by a process that was killed from one in use.
constexpr char TemporaryTag[] = ".weqtmp-";

// The machine in eight hex digits: a folder shared over the network holds
// temporaries of processes whose numbers mean nothing here.
const std::string& HostTag()
{
    static const std::string Tag = [] {
        char Name[256] = {};
        gethostname(Name, sizeof Name - 1);
        std::uint32_t Hash = 2166136261u;
        for (const char* P = Name; *P; ++P)
            Hash = (Hash ^ static_cast<unsigned char>(*P)) * 16777619u;
        char Text[9];
        std::snprintf(Text, sizeof Text, "%08x", Hash);
        return std::string(Text);
    }();
    return Tag;
}

// The part of a file's name its temporaries begin with: "." and the name,
// cut short where the temporary's name would pass what a folder entry can
// hold ("." + tag + PID-HOST-RANDOM take at most 43 bytes).
std::string TemporaryStem(const std::string& Name)
{
    constexpr std::size_t MaxEntry = 255, MaxTail = 1 + sizeof TemporaryTag - 1 + 20 + 1 + 8 + 1 + 16;
    return "." + Name.substr(0, std::min(Name.size(), MaxEntry - MaxTail));
}

// A name beside Path that no one else uses.
std::string TemporaryName(const std::string& Path)
{
    thread_local std::mt19937_64 Random{std::random_device{}()};
    const std::size_t Slash = Path.find_last_of('/');
    const std::string Dir = Slash == std::string::npos ? std::string() : Path.substr(0, Slash + 1);
    const std::string Name = Slash == std::string::npos ? Path : Path.substr(Slash + 1);
    char Suffix[64];
    std::snprintf(Suffix, sizeof Suffix, "%ld-%s-%016llx", static_cast<long>(getpid()), HostTag().c_str(),
                  static_cast<unsigned long long>(Random()));
    return Dir + TemporaryStem(Name) + TemporaryTag + Suffix;
}

// A temporary of ours whose process is gone from this machine: the rest of
// its name after the tag is "PID-HOST-RANDOM".
bool Stale(const char* Entry)
{
    const char* Tag = nullptr;
    for (const char* P = std::strstr(Entry, TemporaryTag); P; P = std::strstr(P + 1, TemporaryTag))
        Tag = P;
    if (Entry[0] != '.' || !Tag)
        return false;
    char* End = nullptr;
    errno = 0;
    const long Pid = std::strtol(Tag + sizeof TemporaryTag - 1, &End, 10);
    if (errno || Pid <= 0 || *End != '-' || std::strncmp(End + 1, HostTag().c_str(), 8) != 0 || End[9] != '-' ||
        std::strlen(End + 10) != 16 || std::strspn(End + 10, "0123456789abcdef") != 16)
        return false;
    return Pid != getpid() && kill(pid_t(Pid), 0) != 0 && errno == ESRCH;
}

// Removes the temporaries for Target that killed processes left. Each
// folder is read once a process (a batch writes many files into one), and
// what it held is kept for the other names written there later.
void RemoveStale(const std::string& Target)
{
    static std::mutex Lock;
    static std::unordered_map<std::string, std::vector<std::string>> Found;
    constexpr std::size_t MaxFolders = 1024, MaxStale = 4096;
    const std::string Dir = Folder(Target);
    const std::string Prefix = TemporaryStem(Target.substr(Target.find_last_of('/') + 1)) + TemporaryTag;
    const std::lock_guard Guard(Lock);
    auto It = Found.find(Dir);
    if (It == Found.end()) {
        if (Found.size() >= MaxFolders)
            Found.clear();
        It = Found.emplace(Dir, std::vector<std::string>()).first;
        if (DIR* D = opendir(Dir.c_str())) {
            while (const dirent* E = readdir(D))
                if (It->second.size() < MaxStale && Stale(E->d_name))
                    It->second.emplace_back(E->d_name);
            closedir(D);
        }
    }
    std::vector<std::string>& Names = It->second;
    for (std::size_t I = 0; I < Names.size();) {
        // The name's own tag is the last: "a.weqtmp-b"'s temporaries are not "a"'s.
        const bool Ours = Names[I].compare(0, Prefix.size(), Prefix) == 0 &&
                          Names[I].find(TemporaryTag, Prefix.size()) == std::string::npos;
        if (Ours) {
            unlink((Dir + "/" + Names[I]).c_str());
            Names[I] = std::move(Names.back());
            Names.pop_back();
        } else {
            ++I;
        }
    }
}

bool ProcFdUsable()
{
    // WEQBARCODE_NO_TMPFILE=1 makes every file take the named temporary, as
    // where /proc is hidden: for the tests of that path.
    static const bool Usable = [] {
        const char* Off = std::getenv("WEQBARCODE_NO_TMPFILE");
        return !(Off && *Off && std::strcmp(Off, "0") != 0) && access("/proc/self/fd", X_OK) == 0;
    }();
    return Usable;
}

// Gives the unnamed file Fd the name Name: 0, or why not. Linking the
// descriptor itself spares the kernel the walk through /proc/self/fd; older
// kernels allow it only to privileged processes, and once refused it is not
// tried again.
int LinkUnnamed(int Fd, const std::string& Name)
{
    static std::atomic<bool> EmptyPath{true};
    if (EmptyPath.load(std::memory_order_relaxed)) {
        if (linkat(Fd, "", AT_FDCWD, Name.c_str(), AT_EMPTY_PATH) == 0)
            return 0;
        if (errno != ENOENT && errno != EPERM)
            return errno;
        EmptyPath.store(false, std::memory_order_relaxed);
    }
    const std::string Self = "/proc/self/fd/" + std::to_string(Fd);
    return linkat(AT_FDCWD, Self.c_str(), AT_FDCWD, Name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

// 0 where Target is free or may be replaced; else why not. A file that is
// there and may not be written stays as it is, as a program that opened it
// for writing would find.
int Unreplaceable(const std::string& Target)
{
    struct stat Info {};
    if (lstat(Target.c_str(), &Info) != 0)
        return 0;
    if (S_ISREG(Info.st_mode) && access(Target.c_str(), W_OK) != 0)
        return errno;
    return S_ISDIR(Info.st_mode) ? EISDIR : 0;
}

} // namespace

struct WEQBARCODE_HIDDEN TAtomicFile::TImpl {
    QString Path;
    std::string Target, TempPath; // TempPath: the named temporary, where no unnamed one could be made
    int Fd = -1;
    // For an unnamed file, whether the target may be replaced asked only
    // where its name turns out to be taken, not when the file is opened: for
    // data already in hand, whose file opened early saves nothing, and most
    // names written are new.
    bool AskWhenTaken = false;
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
    if (!d->AskWhenTaken)
        if (const int Code = Unreplaceable(d->Target))
            return Fail(Error, Reason(Code));
    if (ProcFdUsable()) {
        d->Fd = open(Folder(d->Target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (d->Fd >= 0)
            return true;
        // Only a file system without unnamed files falls back to a named one.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return Fail(Error, Reason(errno));
    }
    // A named temporary takes the name by a rename, which asks nothing.
    if (d->AskWhenTaken)
        if (const int Code = Unreplaceable(d->Target))
            return Fail(Error, Reason(Code));
    RemoveStale(d->Target);
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
    // A file replaced keeps its permissions, as a file written in place
    // would; asked only where a file is there to replace.
    const auto KeepMode = [this] {
        struct stat Old {};
        if (lstat(d->Target.c_str(), &Old) == 0 && S_ISREG(Old.st_mode))
            fchmod(d->Fd, Old.st_mode & 07777);
    };
    if (!d->TempPath.empty())
        KeepMode();
    if (d->TempPath.empty()) {
        // The unnamed file gets its name; where the name is taken, a
        // temporary one first, then the rename that replaces the old file
        // (or the link: a rename replaces the link, never its target).
        if (const int Linked = LinkUnnamed(d->Fd, d->Target); Linked == 0) {
            if (close(std::exchange(d->Fd, -1)) == 0)
                return true;
            const int Code = errno; // the bytes may not have reached the file: take the name back
            unlink(d->Target.c_str());
            return Fail(Error, Reason(Code));
        } else if (Linked != EEXIST) {
            return Fail(Error, Reason(Linked));
        }
        if (const int Code = Unreplaceable(d->Target))
            return Fail(Error, Reason(Code));
        KeepMode();
        for (int Attempt = 0; Attempt < 16 && d->TempPath.empty(); ++Attempt) {
            const std::string Name = TemporaryName(d->Target);
            if (const int Linked = LinkUnnamed(d->Fd, Name); Linked == 0)
                d->TempPath = Name;
            else if (Linked != EEXIST)
                return Fail(Error, Reason(Linked));
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
    File.d->AskWhenTaken = true;
    return File.Open(Path, Error) && File.Write(Data.constData(), std::size_t(Data.size()), Error) &&
           File.Commit(false, Error);
}

} // namespace WEQEan
