#include "ean/WEQEan.h"

namespace WEQEan {

namespace {
constexpr std::size_t BodyLength = 12;
bool IsDigit(char Ch) { return Ch >= '0' && Ch <= '9'; }
} // namespace

std::string NormalizeGTIN(const std::string& Text)
{
    std::string Body = Text.substr(0, BodyLength);
    for (char& Ch : Body)
        if (!IsDigit(Ch))
            Ch = '0';
    Body.insert(0, BodyLength - Body.size(), '0');
    return Body;
}

std::string GTINCheckDigit(const std::string& Body)
{
    // Weights 1, 3, 1, 3, ... from the left. Characters other than digits can
    // only come from a caller that skipped normalisation; they count as 0.
    int Sum = 0;
    for (std::size_t I = 0; I < Body.size() && I < BodyLength; ++I) {
        const int Digit = IsDigit(Body[I]) ? Body[I] - '0' : 0;
        Sum += (I % 2 == 0) ? Digit : 3 * Digit;
    }
    return std::string(1, char('0' + (10 - Sum % 10) % 10));
}

std::string CompleteGTIN(const std::string& Text)
{
    const std::string Body = NormalizeGTIN(Text);
    return Body + GTINCheckDigit(Body);
}

} // namespace WEQEan
