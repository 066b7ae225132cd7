// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// A program run in a child process whose exit, messages, files and peak
// memory the tests measure: the command line's hostile inputs and its bounds
// of memory and time.

#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <linux/capability.h>
#include <signal.h>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct TExit {
    int Status = -1; // the exit status; -1 when a signal ended it
    int Signal = 0;
    long PeakKB = 0; // its peak resident memory
    std::string Err;
};

// weqbarcode (or Program) in Dir, its standard input a pipe the test holds,
// standard error to a file (or nowhere), its peak memory from wait4.
class TChild {
public:
    TChild(const QString& Dir, const std::vector<std::string>& Args, const std::vector<std::string>& Env = {},
           bool KeepErr = true, bool BoundByPermissions = false, const char* Program = WEQ_CLI)
    {
        int Pipe[2];
        if (pipe2(Pipe, O_CLOEXEC) != 0)
            return;
        ErrPath = KeepErr ? ErrDir.filePath("err").toStdString() : "/dev/null";
        const std::string Where = Dir.toStdString();
        std::vector<std::string> Argv{Program};
        Argv.insert(Argv.end(), Args.begin(), Args.end());
        std::vector<char*> A, E;
        for (std::string& S : Argv)
            A.push_back(S.data());
        A.push_back(nullptr);
        std::vector<std::string> Environment = Env;
        for (char** P = environ; *P; ++P)
            Environment.emplace_back(*P);
        for (std::string& S : Environment)
            E.push_back(S.data());
        E.push_back(nullptr);
        Pid = fork();
        if (Pid == 0) {
            // Only calls that are safe between fork and exec.
            const int Err = open(ErrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int Null = open("/dev/null", O_WRONLY);
            if (Err < 0 || Null < 0 || dup2(Pipe[0], 0) < 0 || dup2(Null, 1) < 0 || dup2(Err, 2) < 0 ||
                chdir(Where.c_str()) != 0)
                _exit(98);
            // Root keeps its user but loses its power over permissions, so that
            // a file's mode binds (the capabilities leave the bounding set).
            if (BoundByPermissions && geteuid() == 0)
                for (const int Capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
                    if (prctl(PR_CAPBSET_DROP, Capability, 0, 0, 0) != 0)
                        _exit(99);
            execve(A[0], A.data(), E.data());
            _exit(97);
        }
        close(Pipe[0]);
        Input = Pipe[1];
    }
    ~TChild()
    {
        if (Input >= 0)
            close(Input);
        if (Pid > 0 && !Reaped) {
            kill(Pid, SIGKILL);
            waitpid(Pid, nullptr, 0);
        }
    }

    void Write(const std::string& Bytes)
    {
        for (std::size_t At = 0; At < Bytes.size();) {
            const ssize_t N = write(Input, Bytes.data() + At, Bytes.size() - At);
            if (N <= 0)
                return;
            At += std::size_t(N);
        }
    }
    void CloseInput()
    {
        if (Input >= 0)
            close(Input);
        Input = -1;
    }
    void Signal(int Sig) { kill(Pid, Sig); }
    // Closing its input first, unless it is to stay open until the child ends.
    TExit Wait(bool Close = true)
    {
        if (Close)
            CloseInput();
        TExit R;
        int Status = 0;
        rusage Usage{};
        if (Pid <= 0 || wait4(Pid, &Status, 0, &Usage) != Pid)
            return R;
        Reaped = true;
        R.Status = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
        R.Signal = WIFSIGNALED(Status) ? WTERMSIG(Status) : 0;
        R.PeakKB = Usage.ru_maxrss;
        // The last megabyte: enough for the last lines of millions.
        std::ifstream Err(ErrPath, std::ios::binary | std::ios::ate);
        const std::streamoff Size = Err.tellg();
        Err.seekg(std::max<std::streamoff>(0, Size - (1 << 20)));
        R.Err.assign(std::istreambuf_iterator<char>(Err), {});
        return R;
    }

private:
    QTemporaryDir ErrDir;
    std::string ErrPath;
    pid_t Pid = -1;
    int Input = -1;
    bool Reaped = false;
};

inline TExit RunChild(const QString& Dir, const std::vector<std::string>& Args, const std::string& Input = {},
               const std::vector<std::string>& Env = {}, bool BoundByPermissions = false,
               const char* Program = WEQ_CLI)
{
    TChild C(Dir, Args, Env, true, BoundByPermissions, Program);
    C.Write(Input);
    return C.Wait();
}

inline void WriteFile(const QString& Path, const std::string& Bytes)
{
    std::ofstream(Path.toStdString(), std::ios::binary) << Bytes;
}

inline std::string ReadFile(const QString& Path)
{
    std::ifstream In(Path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), {});
}
