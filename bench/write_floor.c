// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The floor of a bulk run: write_floor FOLDER SUFFIX SIZE... writes one file
// a size, 00001.SUFFIX on, each of its bytes, with the calls the command
// line's atomic write makes (an unnamed temporary in the folder, the write,
// the link to its name through its descriptor, or through /proc where the
// kernel refuses that) and nothing else. No renderer writing the same bytes
// the same safe way can be faster.
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: write_floor FOLDER SUFFIX SIZE...\n");
        return 2;
    }
    static char Data[1 << 20];
    memset(Data, 0x55, sizeof Data);
    for (int I = 3; I < argc; ++I) {
        const long Size = atol(argv[I]);
        if (Size < 0 || Size > (long)sizeof Data)
            return 2;
        char Name[4096], Self[64];
        snprintf(Name, sizeof Name, "%s/%05d.%s", argv[1], I - 2, argv[2]);
        const int Fd = open(argv[1], O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (Fd < 0 || write(Fd, Data, (size_t)Size) != Size)
            return 1;
        static int EmptyPath = 1;
        int Linked = EmptyPath ? linkat(Fd, "", AT_FDCWD, Name, AT_EMPTY_PATH) : -1;
        if (Linked != 0 && EmptyPath && errno != ENOENT && errno != EPERM)
            return 1;
        if (Linked != 0) {
            EmptyPath = 0;
            snprintf(Self, sizeof Self, "/proc/self/fd/%d", Fd);
            Linked = linkat(AT_FDCWD, Self, AT_FDCWD, Name, AT_SYMLINK_FOLLOW);
        }
        if (Linked != 0 || close(Fd) != 0)
            return 1;
    }
    return 0;
}
