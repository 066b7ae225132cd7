#pragma once

// Files that appear complete or not at all. The bytes go to a file without a
// name in the target's folder, which is linked under its name only once
// every byte is written and closed; an existing file is replaced in one
// rename. A failure leaves nothing behind and the old file as it was.

#include <cstddef>
#include <string>

namespace WEQCli {

class TAtomicFile {
public:
    TAtomicFile() = default;
    ~TAtomicFile(); // discards what was not committed
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    bool Open(const std::string& Path, std::string& Error);
    int Descriptor() const { return Fd; }
    bool Write(const void* Data, std::size_t Size, std::string& Error);
    // Sync first asks the disk to hold the bytes before the name appears.
    bool Commit(bool Sync, std::string& Error);

private:
    void Discard();
    std::string Path, TempPath; // TempPath: the named temporary, where no unnamed one could be made
    int Fd = -1;
};

// Open, Write, Commit(false) in one.
bool WriteAtomically(const std::string& Path, const void* Data, std::size_t Size, std::string& Error);

} // namespace WEQCli
