// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// weqbarcode: EAN-13 symbols in bulk, one file per GTIN or labels on sheets.
#include "Batch.h"
#include "Checks.h"
#include "Interrupt.h"
#include "Options.h"
#include "Progress.h"
#include "Sheet.h"
#include "Source.h"
#include "Text.h"

#ifdef WEQ_CLI_LABELS
#include "Labels.h"

#include <QGuiApplication>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <malloc.h>
#include <memory>
#include <new>
#include <thread>
#include <unistd.h>

#ifndef WEQ_VERSION
#define WEQ_VERSION "0"
#endif

using namespace WEQCli;

namespace {

// Every message that may hold user text goes through here: escaped.
void Print(const std::string& Line) { std::fputs((Escape(Line) + '\n').c_str(), stderr); }

// Qt's own notices (the platform plugin's, the font database's) are no
// business of the user of a command-line program.
void QuietQt(QtMsgType Type, const QMessageLogContext&, const QString& Message)
{
    if (Type == QtCriticalMsg || Type == QtFatalMsg)
        Print("weqbarcode: " + Message.toStdString());
}

// The status once standard output and standard error are flushed: a grade,
// the help or a message that did not reach its stream (a full disk, a
// closed pipe) is a failed write, reported where standard error still takes it.
int Flushed(int Status)
{
    const auto Failed = [](std::FILE* Stream, int& Code) {
        errno = 0;
        const bool Bad = std::fflush(Stream) != 0 || std::ferror(Stream);
        Code = errno;
        return Bad;
    };
    int Code = 0;
    if (Failed(stdout, Code)) {
        Print(std::string("weqbarcode: cannot write standard output") + (Code ? ": " + std::string(std::strerror(Code)) : ""));
        Status = 2;
    }
    if (Failed(stderr, Code))
        Status = 2;
    return Status;
}

#ifndef WEQ_CLI_LABELS
// A template's labels are drawn by Qt's painter and SVG renderer, which this
// program does not load (it starts as a C tool does, with Qt Core alone): the
// program beside it that does takes the run over with the same arguments,
// before any input is read.
int RunLabels(char** argv)
{
    std::string Self(4096, '\0');
    const ssize_t Length = readlink("/proc/self/exe", Self.data(), Self.size());
    if (Length <= 0 || std::size_t(Length) >= Self.size() || Self[0] != '/') {
        // Never a program of that name from wherever the run was started.
        Print("weqbarcode: label templates need the program " WEQ_LABELS_HELPER
              ", and this program cannot tell the folder it was run from");
        return 2;
    }
    Self.resize(std::size_t(Length));
    const std::string Folder = Self.substr(0, Self.rfind('/') + 1);
    // Beside it in a build folder, in its libexec folder once installed.
    std::string Tried;
    for (const std::string& Helper : {Folder + WEQ_LABELS_HELPER, Folder + WEQ_LABELS_HELPER_FROM_BIN}) {
        std::fflush(stderr);
        execv(Helper.c_str(), argv);
        Tried += (Tried.empty() ? "" : ", ") + Helper + ": " + std::strerror(errno);
    }
    Print("weqbarcode: label templates need the program " WEQ_LABELS_HELPER ", which cannot be run (" + Tried + ")");
    return 2;
}
#endif

int Run(int argc, char** argv)
{
    const TParsed Parsed = ParseOptions(std::vector<std::string>(argv + 1, argv + argc),
                                        int(std::max(1u, std::thread::hardware_concurrency())));
    const TOptions& O = Parsed.Options;
    if (O.Help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (O.Version) {
        // As Debian's command-line tools print it: the version, the holder
        // and the licence.
        std::printf("weqbarcode %s\n"
                    "Copyright (C) 2026 The WEQBarCode authors\n"
                    "License MIT: <https://spdx.org/licenses/MIT.html>.\n"
                    "This is free software: you are free to change and redistribute it.\n"
                    "There is NO WARRANTY, to the extent permitted by law.\n",
                    WEQ_VERSION);
        return 0;
    }
    if (!Parsed.Error.empty()) {
        Print("weqbarcode: " + Parsed.Error);
        Print("Try 'weqbarcode --help'.");
        return 2;
    }
#ifndef WEQ_CLI_LABELS
    if (!O.Template.empty())
        return RunLabels(argv);
#endif
    // Every input is opened and its start read before anything is written.
    TItemSource Source(O);
    if (std::string Error; !Source.Open(Error)) {
        if (Interrupt::Requested())
            Interrupt::Exit();
        Print("weqbarcode: " + Error);
        return 2;
    }

    TOptions Job = O;
#ifdef WEQ_CLI_LABELS
    // A template's text and shapes are drawn by Qt's painter, which needs a
    // GUI application for its fonts.
    std::unique_ptr<QGuiApplication> App;
    WEQ::LabelTemplate Template;
    if (!O.Template.empty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int AppArgc = 1;
        static char Name[] = "weqbarcode";
        static char* AppArgv[] = {Name, nullptr};
        App = std::make_unique<QGuiApplication>(AppArgc, AppArgv);
        // The template is read and held against the inputs' headers and the
        // job's symbols before anything is written; the job then runs with
        // its size and the bars its box leaves.
        if (std::string Error; !PrepareTemplate(Source, O, Job, Template, Error)) {
            Print("weqbarcode: " + Error);
            return 2;
        }
    }
#endif
    if (OnePdf(Job)) {
        if (const TSheetLayout L = LayOutSheet(Job); !L.Error.empty()) {
            Print("weqbarcode: " + L.Error);
            return 2;
        }
    }

    // What holds for the whole job is told once, before anything is written;
    // an error there fails the run.
    if (!O.Quiet) {
        Print("weqbarcode: " + WEQEan::DescribeXDimension(Job.Export, MeasureDpi(Job)));
        if (const std::string Note = RgbNote(Job); !Note.empty())
            Print("weqbarcode: " + Note);
    }
    bool JobFails = false;
    const TPrintChecks Checks(Job);
    for (const WEQEan::TPrintFinding& F : Checks.Job()) {
        const bool Error = F.Severity == WEQEan::TPrintFinding::Error;
        JobFails = JobFails || Error;
        if (Error || !O.Quiet)
            Print("weqbarcode: " + Describe(F));
    }
    if (JobFails) {
        Print(std::string("weqbarcode: nothing written: the job fails the print checks") +
              (O.Gs1Strict ? " (--gs1-strict)" : ""));
        return 1;
    }

    const bool Bar = !O.Quiet && isatty(STDERR_FILENO);
    TProgress Progress(TProgress::Unknown, Bar);
    if (Bar)
        Progress.SetTotal(Source.CountAhead().value_or(TProgress::Unknown));
    TBatchResult Result;
#ifdef WEQ_CLI_LABELS
    if (!O.Template.empty()) {
        if (Job.Format == TFormat::Pdf) {
            // Qt's PDF engine compresses each page through two buffers of 10
            // MB: kept on the heap and reused, rather than mapped and unmapped
            // a page at a time, a label costs a quarter of the time.
            mallopt(M_MMAP_THRESHOLD, 32 << 20);
            mallopt(M_TRIM_THRESHOLD, 128 << 20);
        }
        const TLabelEncoder Labels = [&Template](const TItem& Item, const TOptions& Options, QByteArray& Bytes,
                                                 std::string& Error) {
            return EncodeLabel(Item, Options, Template, Bytes, Error);
        };
        Result = OnePdf(Job) ? WriteTemplateSheet(Source, Job, Template, Progress)
                             : WriteFiles(Source, Job, Progress, &Labels);
    } else
#endif
        Result = OnePdf(Job) ? WriteSheet(Source, Job, Progress) : WriteFiles(Source, Job, Progress);
    if (Result.Interrupted)
        Interrupt::Exit();
    if (!Result.Failure.empty()) {
        Print("weqbarcode: " + Result.Failure);
        return 2;
    }
    if (Result.Rejected)
        Print("weqbarcode: " + std::to_string(Result.Rejected) + " of " + std::to_string(Result.Items) +
              " items rejected, " + std::to_string(Result.Written) + (OnePdf(O) ? " labels" : " files") + " written");
    if (Result.BelowGrade)
        Print("weqbarcode: " + std::to_string(Result.BelowGrade) + " of " + std::to_string(Result.Written) +
              " labels written graded under " + O.MinGrade);
    return Result.Rejected || Result.BelowGrade ? 1 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    // One heap for all threads: memory a finished job freed serves the next
    // job on any thread, where an arena per thread would keep every thread's
    // largest image besides the ones the memory budget counts.
    mallopt(M_ARENA_MAX, 1);
    // Messages are many where many lines are rejected: written in blocks,
    // the progress writes them out ten times a second.
    static char ErrorBuffer[1 << 16];
    std::setvbuf(stderr, ErrorBuffer, _IOFBF, sizeof ErrorBuffer);
    qInstallMessageHandler(QuietQt);
    int Status = 2;
    try {
        // Before any thread: they all leave the signals to the one that takes them.
        Interrupt::Install();
        Status = Run(argc, argv);
    } catch (const std::bad_alloc&) {
        Print("weqbarcode: out of memory");
    } catch (const std::exception& E) {
        Print(std::string("weqbarcode: ") + E.what());
    }
    return Flushed(Status);
}
