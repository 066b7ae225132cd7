// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// The command-line program run in a child process, and the files it reads
// and writes, for the tests of the command line and of its label jobs.

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <linux/capability.h>
#include <signal.h>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

struct TRun {
    int Status = -1;
    std::string Out, Err;
};

enum class TAs { Self, BoundByPermissions };

// Runs weqbarcode in Dir. BoundByPermissions, when the tests run as root,
// takes away root's power to override file permissions (from the bounding
// set, so the program does not regain it), so that a folder's permissions
// bind; the user stays root, so a checkout in a private folder still runs.
// FileLimit caps the size of any file it writes.
inline TRun RunCli(const QString& Dir, const QStringList& Args, const QByteArray& Input = {}, TAs As = TAs::Self,
         rlim_t FileLimit = RLIM_INFINITY)
{
    QProcess P;
    P.setWorkingDirectory(Dir);
    P.setChildProcessModifier([As, FileLimit] {
        if (FileLimit != RLIM_INFINITY) {
            signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails instead of killing
            const rlimit Limit{FileLimit, FileLimit};
            setrlimit(RLIMIT_FSIZE, &Limit);
        }
        if (As == TAs::BoundByPermissions && geteuid() == 0) {
            for (const int Capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
                if (prctl(PR_CAPBSET_DROP, Capability, 0, 0, 0) != 0)
                    _exit(99);
        }
    });
    P.start(QStringLiteral(WEQ_CLI), Args);
    P.write(Input);
    P.closeWriteChannel();
    TRun R;
    if (!P.waitForFinished(300000))
        return R;
    R.Status = P.exitStatus() == QProcess::NormalExit ? P.exitCode() : -1;
    R.Out = P.readAllStandardOutput().toStdString();
    R.Err = P.readAllStandardError().toStdString();
    return R;
}

inline QByteArray Read(const QString& Path)
{
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

inline void WriteText(const QString& Path, const QByteArray& Bytes)
{
    QFile F(Path);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(Bytes);
}
