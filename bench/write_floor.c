// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The floor of a bulk run: write_floor FOLDER SUFFIX SIZE... writes one file
// a size, 00001.SUFFIX on, each of its bytes, with the calls the command
// line's atomic write makes (a look at the name, an unnamed temporary in the
// folder, the write, the link to its name) and nothing else. No renderer
// writing the same bytes the same safe way can be faster.
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
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
        struct stat Info;
        if (lstat(Name, &Info) == 0)
            return 1;
        const int Fd = open(argv[1], O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (Fd < 0 || write(Fd, Data, (size_t)Size) != Size)
            return 1;
        snprintf(Self, sizeof Self, "/proc/self/fd/%d", Fd);
        if (linkat(AT_FDCWD, Self, AT_FDCWD, Name, AT_SYMLINK_FOLLOW) != 0 || close(Fd) != 0)
            return 1;
    }
    return 0;
}
