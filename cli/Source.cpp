// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "Source.h"

#include "CsvItems.h"
#include "Interrupt.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace WEQCli {

namespace {

// A read that a signal ends: every later one then fails with EINTR too.
long ReadInput(int Fd, char* Buffer, std::size_t Size)
{
    for (;;) {
        if (const int Wake = Interrupt::WakeDescriptor(); Wake >= 0) {
            pollfd Waits[2] = {{Fd, POLLIN, 0}, {Wake, POLLIN, 0}};
            if (poll(Waits, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                return -1;
            }
            if (Waits[1].revents & POLLIN) {
                errno = EINTR;
                return -1;
            }
        }
        const ssize_t N = read(Fd, Buffer, Size);
        if (N < 0 && errno == EINTR)
            continue;
        return long(N);
    }
}

std::string Trimmed(const std::string& Text)
{
    const std::size_t Begin = Text.find_first_not_of(" \t");
    return Begin == std::string::npos ? std::string() : Text.substr(Begin, Text.find_last_not_of(" \t") - Begin + 1);
}

std::string Why(const std::string& Name, int Code)
{
    return "cannot read " + Name + ": " + (Code == EINTR ? std::string("interrupted") : std::strerror(Code));
}

} // namespace

struct TItemSource::TInput {
    std::string Name;
    int Fd = -1;
    bool Stdin = false, Regular = false;
    std::unique_ptr<TInputItems> Reader;
};

std::unique_ptr<TInputItems> TItemSource::ReaderOf(int Fd, std::uint32_t Input) const
{
    TLineReader::TRead Read = [Fd](char* B, std::size_t N) { return ReadInput(Fd, B, N); };
    if (GtinColumn.empty())
        return std::make_unique<TItemReader>(std::move(Read), Reading, Input);
    return std::make_unique<TCsvItemReader>(std::move(Read), Reading, GtinColumn, AddOnColumn, Input);
}

TItemSource::TItemSource(const TOptions& O)
    : Reading(O.Reading), GtinColumn(O.GtinColumn), AddOnColumn(O.AddOnColumn), Arguments(O.Gtins)
{
    for (const std::string& Name : O.Inputs) {
        TInput In;
        In.Name = Name == "-" ? "<stdin>" : Name;
        In.Stdin = Name == "-";
        Inputs.push_back(std::move(In));
    }
}

TItemSource::~TItemSource()
{
    for (TInput& In : Inputs)
        if (In.Fd >= 0 && !In.Stdin)
            close(In.Fd);
}

// Opens the input and reads its first bytes.
bool TItemSource::Start(TInput& In, std::string& Error)
{
    if (In.Stdin) {
        In.Fd = STDIN_FILENO;
    } else {
        In.Fd = open(In.Name.c_str(), O_RDONLY | O_CLOEXEC);
        if (In.Fd < 0) {
            Error = Why(In.Name, errno);
            return false;
        }
    }
    struct stat Info {};
    if (fstat(In.Fd, &Info) == 0 && S_ISDIR(Info.st_mode)) {
        Error = Why(In.Name, EISDIR);
        return false;
    }
    In.Regular = S_ISREG(Info.st_mode);
    In.Reader = ReaderOf(In.Fd, std::uint32_t(&In - Inputs.data() + 1));
    if (const std::string Refusal = In.Reader->Refusal(); !Refusal.empty()) {
        Error = "cannot read " + In.Name + ": " + Refusal;
        return false;
    }
    if (In.Reader->ReadError()) {
        Error = Why(In.Name, In.Reader->ReadError());
        return false;
    }
    return true;
}

bool TItemSource::Open(std::string& Error)
{
    bool StdinStarted = false;
    for (TInput& In : Inputs) {
        // Standard input is read once, by its first mention; later ones find its end.
        if (In.Stdin && std::exchange(StdinStarted, true))
            continue;
        if (!Start(In, Error))
            return false;
        if (const std::vector<std::string>* Header = In.Reader->Header())
            HeaderList.emplace_back(In.Name, *Header);
        // A file is opened again when its turn comes; a pipe keeps what was read of it.
        if (In.Regular && !In.Stdin) {
            In.Reader.reset();
            close(std::exchange(In.Fd, -1));
        }
    }
    return true;
}

std::optional<std::size_t> TItemSource::CountAhead()
{
    std::size_t Count = Arguments.size();
    for (const TInput& In : Inputs) {
        if (In.Stdin || !In.Regular)
            return std::nullopt;
        const int Fd = open(In.Name.c_str(), O_RDONLY | O_CLOEXEC);
        if (Fd < 0)
            return std::nullopt;
        const std::unique_ptr<TInputItems> Reader = ReaderOf(Fd, 1);
        Count += Reader->CountRest();
        const bool Failed = !Reader->Refusal().empty() || Reader->ReadError();
        close(Fd);
        if (Failed)
            return std::nullopt;
    }
    return Count;
}

bool TItemSource::Next(TItem& Item)
{
    if (NextArgument < Arguments.size()) {
        ArgumentItem(Arguments[NextArgument], NextArgument + 1, Reading, Item);
        ++NextArgument;
        Item.Number = ++Numbered;
        return true;
    }
    while (Failure.empty() && Current < Inputs.size()) {
        TInput& In = Inputs[Current];
        if (!In.Reader && !Start(In, Failure))
            return false;
        if (In.Reader->Next(Item)) {
            Item.Number = ++Numbered;
            return true;
        }
        if (In.Reader->ReadError()) {
            Failure = Why(In.Name, In.Reader->ReadError());
            return false;
        }
        In.Reader.reset();
        if (!In.Stdin)
            close(In.Fd);
        In.Fd = -1;
        ++Current;
    }
    return false;
}

std::string TItemSource::Where(std::uint32_t Input, std::size_t Line) const
{
    const std::string Name = Input == 0 ? "<arguments>" : Input <= Inputs.size() ? Inputs[Input - 1].Name : "?";
    return Name + ":" + std::to_string(Line);
}

std::string TItemSource::Origin(const TItem& Item) const
{
    if (Item.Input == 0 && Item.Line >= 1 && Item.Line <= Arguments.size())
        return Trimmed(Arguments[Item.Line - 1]);
    return Where(Item.Input, Item.Line);
}

} // namespace WEQCli
