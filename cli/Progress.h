#pragma once

// A progress bar on standard error for long batches on a terminal: the
// count, the share and the rate, redrawn at most ten times a second.

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>

namespace WEQCli {

// Batches of more items than this show the bar.
inline constexpr std::size_t ProgressThreshold = 300;

class TProgress {
public:
    TProgress(std::size_t Total, bool Enabled, std::FILE* Out = stderr);
    // Redraws for Done items where a tenth of a second has passed (or always).
    void Update(std::size_t Done, bool Force = false);
    // The final line, left standing.
    void Finish(std::size_t Done);
    bool Shown() const { return Enabled; }

    // One line of the bar, for Done of Total after Seconds.
    static std::string Line(std::size_t Done, std::size_t Total, double Seconds);

private:
    std::size_t Total;
    bool Enabled;
    std::FILE* Out;
    std::chrono::steady_clock::time_point Start, Last;
};

} // namespace WEQCli
