#include "Progress.h"

namespace WEQCli {

TProgress::TProgress(std::size_t Total, bool Enabled, std::FILE* Out)
    : Total(Total), Enabled(Enabled), Out(Out), Start(std::chrono::steady_clock::now()), Last(Start)
{
}

std::string TProgress::Line(std::size_t Done, std::size_t Total, double Seconds)
{
    constexpr int Width = 30;
    const double Share = Total ? double(Done) / double(Total) : 1.0;
    const int Filled = int(Share * Width);
    std::string Bar = "[" + std::string(std::size_t(Filled), '#') + std::string(std::size_t(Width - Filled), '.') + "]";
    char Text[128];
    const double Rate = Seconds > 0 ? double(Done) / Seconds : 0.0;
    std::snprintf(Text, sizeof Text, " %zu/%zu %3d%%  %.0f/s", Done, Total, int(Share * 100), Rate);
    return Bar + Text;
}

void TProgress::Update(std::size_t Done, bool Force)
{
    if (!Enabled)
        return;
    const auto Now = std::chrono::steady_clock::now();
    if (!Force && Now - Last < std::chrono::milliseconds(100))
        return;
    Last = Now;
    // \r and erase to the end of the line: the bar redraws in place.
    std::fprintf(Out, "\r%s\033[K", Line(Done, Total, std::chrono::duration<double>(Now - Start).count()).c_str());
    std::fflush(Out);
}

void TProgress::Finish(std::size_t Done)
{
    if (!Enabled)
        return;
    Update(Done, true);
    std::fputc('\n', Out);
    std::fflush(Out);
}

} // namespace WEQCli
