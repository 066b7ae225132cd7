// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "Progress.h"

#include "Text.h"

#include <algorithm>

namespace WEQCli {

TProgress::TProgress(std::size_t Total, bool Enabled, std::FILE* Out)
    : Total(Total), Enabled(Enabled), Out(Out), Start(std::chrono::steady_clock::now()), Last(Start)
{
}

std::string TProgress::Line(std::size_t Done, std::size_t Total, double Seconds)
{
    char Text[128];
    const double Rate = Seconds > 0 ? double(Done) / Seconds : 0.0;
    if (Total == Unknown) {
        std::snprintf(Text, sizeof Text, "%zu done  %.0f/s", Done, Rate);
        return Text;
    }
    constexpr int Width = 30;
    const double Share = Total ? std::min(1.0, double(Done) / double(Total)) : 1.0;
    const int Filled = int(Share * Width);
    std::string Bar(1, '[');
    Bar.append(std::size_t(Filled), '#').append(std::size_t(Width - Filled), '.').append(1, ']');
    std::snprintf(Text, sizeof Text, " %zu/%zu %3d%%  %.0f/s", Done, Total, int(Share * 100), Rate);
    return Bar + Text;
}

bool TProgress::Visible(std::size_t Done) const
{
    return Enabled && (Total == Unknown ? Done > ProgressThreshold : Total > ProgressThreshold);
}

void TProgress::Update(std::size_t Done, bool Force)
{
    const std::lock_guard Guard(Lock);
    const auto Now = std::chrono::steady_clock::now();
    if (!Force && Now - Last < std::chrono::milliseconds(100))
        return;
    Last = Now;
    if (Visible(Done)) {
        // \r and erase to the end of the line: the bar redraws in place.
        std::fprintf(Out, "\r%s\033[K", Line(Done, Total, std::chrono::duration<double>(Now - Start).count()).c_str());
        OnScreen = true;
    }
    std::fflush(Out);
}

void TProgress::Print(const std::string& Message)
{
    const std::lock_guard Guard(Lock);
    if (OnScreen)
        std::fputs("\r\033[K", Out);
    OnScreen = false;
    std::fputs((Escape(Message) + '\n').c_str(), Out);
}

void TProgress::Finish(std::size_t Done)
{
    const bool Drawn = Visible(Done);
    Update(Done, true);
    const std::lock_guard Guard(Lock);
    if (Drawn)
        std::fputc('\n', Out);
    OnScreen = false;
    std::fflush(Out);
}

} // namespace WEQCli
