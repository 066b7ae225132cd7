// weqbarcode: EAN-13 symbols in bulk, one file per GTIN or labels on sheets.
#include "Batch.h"
#include "Items.h"
#include "Options.h"
#include "Progress.h"

#include <QGuiApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <thread>
#include <unistd.h>
#include <unordered_map>

#ifndef WEQ_VERSION
#define WEQ_VERSION "0"
#endif

using namespace WEQCli;

namespace {

void Print(const std::string& Line) { std::fprintf(stderr, "%s\n", Line.c_str()); }

// Qt's own notices (the platform plugin's, the font database's) are no
// business of the user of a command-line program.
void QuietQt(QtMsgType Type, const QMessageLogContext&, const QString& Message)
{
    if (Type == QtCriticalMsg || Type == QtFatalMsg)
        Print("weqbarcode: " + Message.toStdString());
}

std::string Where(const TItem& Item) { return Item.Source + ":" + std::to_string(Item.Line); }

// Reads every item; false (with a message) when an input cannot be read.
bool ReadAll(const TOptions& O, std::vector<TItem>& Items)
{
    const TReading Reading{O.Symbology, O.AddOn, O.Complete};
    for (std::size_t I = 0; I < O.Gtins.size(); ++I)
        AddArgument(O.Gtins[I], I + 1, Reading, Items);
    for (const std::string& Input : O.Inputs) {
        if (Input == "-") {
            ReadItems(stdin, "<stdin>", Reading, Items);
            continue;
        }
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> File(std::fopen(Input.c_str(), "rb"), std::fclose);
        if (!File) {
            Print("weqbarcode: cannot read " + Input + ": " + std::strerror(errno));
            return false;
        }
        ReadItems(File.get(), Input, Reading, Items);
        if (std::ferror(File.get())) {
            Print("weqbarcode: cannot read " + Input + ": " + std::strerror(errno));
            return false;
        }
    }
    return true;
}

// The files of the accepted items; a second item for the same file is
// rejected rather than written over the first.
std::vector<TJob> PlanFiles(const TOptions& O, std::vector<TItem>& Items)
{
    std::vector<TJob> Jobs;
    Jobs.reserve(Items.size());
    std::unordered_map<std::string, const TItem*> Taken;
    for (TItem& Item : Items) {
        if (!Item.Rejected.empty())
            continue;
        std::string Path = ExpandPattern(O.Output, Item.Gtin, Item.Number);
        const std::string Key = std::filesystem::path(Path).lexically_normal().string();
        const auto [It, New] = Taken.emplace(Key, &Item);
        if (!New) {
            Item.Rejected = Path + " is also the file of " + Where(*It->second);
            continue;
        }
        Jobs.push_back({&Item, std::move(Path)});
    }
    return Jobs;
}

// Makes the folders the files go into; false (with a message) where one cannot be made.
bool MakeFolders(const std::vector<TJob>& Jobs)
{
    std::set<std::string> Done;
    for (const TJob& Job : Jobs) {
        const std::filesystem::path Folder = std::filesystem::path(Job.Path).parent_path();
        if (Folder.empty() || !Done.insert(Folder.string()).second)
            continue;
        std::error_code Error;
        std::filesystem::create_directories(Folder, Error);
        if (Error) {
            Print("weqbarcode: cannot make folder " + Folder.string() + ": " + Error.message());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(QuietQt);
    const TParsed Parsed = ParseOptions(std::vector<std::string>(argv + 1, argv + argc),
                                        int(std::max(1u, std::thread::hardware_concurrency())));
    const TOptions& O = Parsed.Options;
    if (O.Help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (O.Version) {
        std::printf("weqbarcode %s\n", WEQ_VERSION);
        return 0;
    }
    if (!Parsed.Error.empty()) {
        Print("weqbarcode: " + Parsed.Error);
        Print("Try 'weqbarcode --help'.");
        return 2;
    }
    if (O.Sheet) {
        if (const TSheetLayout L = LayOutSheet(O); !L.Error.empty()) {
            Print("weqbarcode: " + L.Error);
            return 2;
        }
    }

    std::vector<TItem> Items;
    if (!ReadAll(O, Items))
        return 2;
    std::vector<TJob> Jobs;
    std::vector<const TItem*> Labels;
    if (O.Sheet) {
        for (const TItem& Item : Items)
            if (Item.Rejected.empty())
                Labels.push_back(&Item);
    } else {
        Jobs = PlanFiles(O, Items);
    }
    std::size_t Rejected = 0;
    for (const TItem& Item : Items)
        if (!Item.Rejected.empty()) {
            Print(Where(Item) + ": " + Item.Rejected);
            ++Rejected;
        }
    if (!O.Sheet && !MakeFolders(Jobs))
        return 2;

    // Raster digits need the font, which needs a GUI application; the PDF
    // writer wants one too. SVG files are written without.
    std::unique_ptr<QGuiApplication> App;
    if (O.Format != TFormat::Svg || O.Sheet) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int AppArgc = 1;
        static char Name[] = "weqbarcode";
        static char* AppArgv[] = {Name, nullptr};
        App = std::make_unique<QGuiApplication>(AppArgc, AppArgv);
    }

    const std::size_t Count = O.Sheet ? Labels.size() : Jobs.size();
    TProgress Progress(Count, !O.Quiet && isatty(STDERR_FILENO) && Count > ProgressThreshold);
    const TBatchResult Result = O.Sheet ? WriteSheet(Labels, O, Progress) : WriteFiles(Jobs, O, Progress);
    if (!Result.Failure.empty()) {
        Print("weqbarcode: " + Result.Failure);
        return 2;
    }
    if (Rejected) {
        Print("weqbarcode: " + std::to_string(Rejected) + " of " + std::to_string(Items.size()) +
              " items rejected, " + std::to_string(Result.Written) + (O.Sheet ? " labels" : " files") + " written");
        return 1;
    }
    return 0;
}
