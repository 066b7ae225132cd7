// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "Batch.h"

#include "Budget.h"
#include "Checks.h"
#include "Interrupt.h"
#include "Paths.h"
#include "Text.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <exception>
#include <new>
#include <shared_mutex>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace WEQCli {

namespace {

struct TJob {
    TItem Item;
    std::string Path;
    std::size_t Index = 0; // in the order of the items
};

// The jobs between the reader and the workers, at most JobWindow of them.
class TJobQueue {
public:
    // Waits while the queue is full, calling Tick now and then; false on Stop.
    bool Push(TJob&& Job, const std::atomic<bool>& Stop, const std::function<void()>& Tick)
    {
        std::unique_lock Guard(Lock);
        while (Jobs.size() >= JobWindow) {
            if (Stop)
                return false;
            Guard.unlock();
            Tick();
            Guard.lock();
            ReaderWaits = true;
            NotFull.wait_for(Guard, std::chrono::milliseconds(50));
            ReaderWaits = false;
        }
        Jobs.push_back(std::move(Job));
        if (IdleWorkers)
            NotEmpty.notify_one();
        return true;
    }
    // The next job; false once the queue is closed and empty, or on Stop.
    bool Pop(TJob& Job, const std::atomic<bool>& Stop)
    {
        std::unique_lock Guard(Lock);
        while (Jobs.empty() && !Closed && !Stop) {
            ++IdleWorkers;
            NotEmpty.wait_for(Guard, std::chrono::milliseconds(50));
            --IdleWorkers;
        }
        if (Jobs.empty() || Stop)
            return false;
        Job = std::move(Jobs.front());
        Jobs.pop_front();
        // The reader refills the window once it runs low, not for every job:
        // each wake-up costs a switch of threads.
        if (ReaderWaits && Jobs.size() <= JobWindow / 2)
            NotFull.notify_one();
        return true;
    }
    void Close()
    {
        const std::lock_guard Guard(Lock);
        Closed = true;
        NotEmpty.notify_all();
    }

private:
    std::mutex Lock;
    std::condition_variable NotEmpty, NotFull;
    std::deque<TJob> Jobs;
    std::size_t IdleWorkers = 0;
    bool ReaderWaits = false, Closed = false;
};

// The workers' lines in the order of their jobs: a job's lines wait until
// those of the jobs before it are printed. Grade lines go to standard
// output, failures to the messages.
class TInOrder {
public:
    explicit TInOrder(TProgress& Progress) : Progress(Progress) {}
    void Done(std::size_t Index, std::string Out, std::string Err)
    {
        const std::lock_guard Guard(Lock);
        Waiting.emplace(Index, std::make_pair(std::move(Out), std::move(Err)));
        while (!Waiting.empty() && Waiting.begin()->first == Next) {
            Print(Waiting.begin()->second);
            Waiting.erase(Waiting.begin());
            ++Next;
        }
    }
    // Whatever is left once the workers are gone, jobs that never ran aside.
    void Flush()
    {
        const std::lock_guard Guard(Lock);
        for (const auto& [Index, Lines] : Waiting)
            Print(Lines);
        Waiting.clear();
    }

private:
    void Print(const std::pair<std::string, std::string>& Lines)
    {
        if (!Lines.first.empty())
            std::fputs((Escape(Lines.first) + '\n').c_str(), stdout);
        if (!Lines.second.empty())
            Progress.Print(Lines.second);
    }

    TProgress& Progress;
    std::mutex Lock;
    std::map<std::size_t, std::pair<std::string, std::string>> Waiting;
    std::size_t Next = 0;
};

bool Encode(const TJob& Job, const TOptions& Options, const TLabelEncoder* Labels, QByteArray& Bytes,
            std::string& Error)
{
    if (Labels) {
        if ((*Labels)(Job.Item, Options, Bytes, Error))
            return true;
        Error = "cannot make " + Job.Path + ": " + Error;
        return false;
    }
    const WEQEan::TExportOptions& E = Options.Export;
    const WEQEan::TEanReading& R = Job.Item.Reading;
    QString Reason;
    bool Done = false;
    switch (Options.Format) {
    case TFormat::Png:
        Done = WEQEan::EncodePng(R, Options.Dpi, E, Bytes, nullptr, &Reason);
        break;
    case TFormat::Svg:
        Done = WEQEan::EncodeSvg(R, E, Bytes, &Reason);
        break;
    case TFormat::Pdf:
        Done = WEQEan::EncodePdf(R, E, Bytes, &Reason);
        break;
    case TFormat::Eps:
        Done = WEQEan::EncodeEps(R, E, Bytes, &Reason);
        break;
    }
    if (!Done)
        Error = "cannot make " + Job.Path + ": " + Reason.toStdString();
    return Done;
}

// The file written whole, unless a signal came: then nothing is started.
bool Write(const std::string& Path, const QByteArray& Bytes, std::string& Error)
{
    const std::shared_lock Guard(Interrupt::FilesLock());
    if (Interrupt::Requested())
        return false;
    QString Reason;
    if (WEQEan::SaveFile(QString::fromStdString(Path), Bytes, &Reason))
        return true;
    Error = Clause(Reason);
    return false;
}

// The workers and what they share; joined however the batch ends.
struct TCrew {
    const TOptions& O;
    const TLabelEncoder* Labels;
    TInOrder Graded;
    const TFrames Frames;
    TJobQueue Queue;
    TBudget Budget;
    std::atomic<bool> Stop{false};
    std::atomic<std::size_t> Written{0}, BelowGrade{0};
    std::mutex Lock;
    std::condition_variable Finished;
    std::size_t Running = 0;
    std::size_t FailedAt = SIZE_MAX;
    std::string Failure;
    std::vector<std::thread> Workers;
    std::size_t Wanted;

    TCrew(const TOptions& O, TProgress& Progress, const TLabelEncoder* Labels)
        : O(O), Labels(Labels), Graded(Progress), Frames(O), Budget(std::uint64_t(O.MemoryMB) << 20), Wanted(std::size_t(O.Jobs))
    {
    }
    ~TCrew()
    {
        Stop = true;
        for (std::thread& W : Workers)
            if (W.joinable())
                W.join();
    }

    // A failure of the job at Index. The reader's own (a folder, a read)
    // lets the jobs queued before it finish; a worker's stops every job.
    void Fail(std::size_t Index, const std::string& Error, bool StopAll = true)
    {
        const std::lock_guard Guard(Lock);
        if (Index < FailedAt) {
            FailedAt = Index;
            Failure = Error;
        }
        if (StopAll)
            Stop = true;
    }

    void Work()
    {
        TJob Job;
        try {
            QByteArray Bytes;
            std::string Error;
            while (Queue.Pop(Job, Stop)) {
                const std::uint64_t Frame = Frames.Bytes(Job.Item);
                if (!Budget.Take(Frame, Stop))
                    break;
                const bool Made = Encode(Job, O, Labels, Bytes, Error);
                // The grade draws the frame again: it keeps its share of the budget till then.
                if (!O.Verify)
                    Budget.Give(Frame);
                if (Interrupt::Requested() || !Made || !Write(Job.Path, Bytes, Error)) {
                    if (O.Verify)
                        Budget.Give(Frame);
                    if (!Interrupt::Requested())
                        Fail(Job.Index, Error);
                    break;
                }
                Written.fetch_add(1, std::memory_order_relaxed);
                if (O.Verify) {
                    Grade(Job);
                    Budget.Give(Frame);
                }
            }
        } catch (const std::bad_alloc&) {
            Fail(Job.Index, "out of memory making " + Job.Path);
        } catch (const std::exception& E) {
            Fail(Job.Index, "cannot make " + Job.Path + ": " + E.what());
        }
        const std::lock_guard Guard(Lock);
        --Running;
        Finished.notify_all();
    }

    void Grade(const TJob& Job)
    {
        bool Below = false;
        std::string Why;
        const std::string Line = GradeLine(
            Job.Path, WEQEan::GradeSymbol(Job.Item.Reading, O.Export, MeasureDpi(O)), O, Below, Why);
        if (Below)
            BelowGrade.fetch_add(1, std::memory_order_relaxed);
        Graded.Done(Job.Index, O.Quiet ? std::string() : Line, Why);
    }

    // One more worker while there are fewer than the options allow. Where
    // the system starts no more threads, those running do the work.
    void Hire()
    {
        if (Workers.size() >= Wanted)
            return;
        {
            const std::lock_guard Guard(Lock);
            ++Running;
        }
        try {
            Workers.emplace_back([this] { Work(); });
        } catch (const std::system_error& E) {
            {
                const std::lock_guard Guard(Lock);
                --Running;
            }
            if (Workers.empty())
                throw std::runtime_error(std::string("cannot start a thread: ") + E.code().message());
            Wanted = Workers.size();
        }
    }
};

} // namespace

std::string Clause(const QString& Reason)
{
    std::string Text = Reason.toStdString();
    if (!Text.empty() && Text[0] >= 'A' && Text[0] <= 'Z')
        Text[0] = char(Text[0] - 'A' + 'a');
    return Text;
}

TBatchResult WriteFiles(TItemSource& Source, const TOptions& O, TProgress& Progress, const TLabelEncoder* Labels)
{
    TBatchResult R;
    TCrew Crew(O, Progress, Labels);
    TPrintChecks Checks(O);
    TPathSet Paths;
    TFolders Folders;
    TItem Item;
    std::size_t Jobs = 0;
    const auto Tick = [&] {
        if (Interrupt::Requested())
            Crew.Stop = true;
        Progress.Update(R.Rejected + Crew.Written.load(std::memory_order_relaxed));
    };
    const auto Reject = [&](const std::string& Reason) {
        ++R.Rejected;
        Progress.Print(Source.Where(Item.Input, Item.Line) + ": " + Reason);
    };
    while (!Crew.Stop && !Interrupt::Requested() && Source.Next(Item)) {
        ++R.Items;
        Tick();
        if (!Checks.Admit(Item, Source, Progress)) {
            ++R.Rejected;
            continue;
        }
        std::string Path = ExpandPattern(O.Output, Item.Gtin(), Item.Number);
        TPathSet::TTaker Taker;
        if (!Paths.Claim(Path, Item.Input, Item.Line, Taker)) {
            Reject(Path + " is also the file of " +
                   (Taker.Known ? Source.Where(Taker.Input, Taker.Line) : std::string("an earlier item")));
            continue;
        }
        std::string Error;
        if (!Folders.Make(Path, Error)) {
            Crew.Fail(Jobs, Error, false);
            break;
        }
        Crew.Hire();
        if (!Crew.Queue.Push({std::move(Item), std::move(Path), Jobs++}, Crew.Stop, Tick))
            break;
    }
    if (!Source.Error().empty() && !Interrupt::Requested())
        Crew.Fail(Jobs, Source.Error(), false);
    Crew.Queue.Close();
    {
        // The bar is drawn here while the workers write.
        std::unique_lock Guard(Crew.Lock);
        while (!Crew.Finished.wait_for(Guard, std::chrono::milliseconds(50), [&] { return Crew.Running == 0; })) {
            Guard.unlock();
            Tick();
            Guard.lock();
        }
    }
    Crew.Graded.Flush();
    R.Written = Crew.Written.load();
    R.BelowGrade = Crew.BelowGrade.load();
    R.Interrupted = Interrupt::Requested() != 0;
    {
        const std::lock_guard Guard(Crew.Lock);
        R.Failure = Crew.Failure;
    }
    if (!R.Interrupted)
        Progress.Finish(R.Rejected + R.Written);
    return R;
}

} // namespace WEQCli
