// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Pixels without a paint engine: outlines sampled at the dots' centres under
// the nonzero winding rule, and rows packed as PNG keeps them.
#include "ean/Raster_p.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace WEQEan;

namespace {

using TC = TVectorCommand;

std::string Show(const TGlyphMask& M)
{
    std::string Out;
    for (std::int32_t Y = 0; Y < M.Height; ++Y) {
        for (std::int32_t X = 0; X < M.Width; ++X)
            Out += M.Ink[std::size_t(Y * M.Width + X)] ? '#' : '.';
        Out += '\n';
    }
    return Out;
}

std::vector<TC> Box(long double L, long double T, long double R, long double B, bool Clockwise = true)
{
    if (Clockwise)
        return {{TC::Move, L, T}, {TC::Line, R, T}, {TC::Line, R, B}, {TC::Line, L, B}, {TC::Close}};
    return {{TC::Move, L, T}, {TC::Line, L, B}, {TC::Line, R, B}, {TC::Line, R, T}, {TC::Close}};
}

std::vector<TC> Join(std::vector<TC> A, const std::vector<TC>& B)
{
    A.insert(A.end(), B.begin(), B.end());
    return A;
}

TEST(RasterTest, OutlinesFillTheDotsWhoseCentresTheyHold)
{
    const struct {
        const char* Name;
        std::vector<TC> Outline;
        std::int32_t Width, Height;
        const char* Mask;
    } Rows[] = {
        {"a box on the dots' edges", Box(1, 1, 4, 3), 5, 4, ".....\n.###.\n.###.\n.....\n"},
        {"a box short of the next centres", Box(1.4L, 1.4L, 3.6L, 2.6L), 5, 4, ".....\n.###.\n.###.\n.....\n"},
        {"a box past the box is cut", Box(-2, -2, 9, 1), 3, 2, "###\n...\n"},
        {"a contour turned back is a hole", Join(Box(0, 0, 4, 4), Box(1, 1, 3, 3, false)), 4, 4,
         "####\n#..#\n#..#\n####\n"},
        {"a contour twice winds twice: still ink", Join(Box(0, 0, 4, 4), Box(1, 1, 3, 3)), 4, 4,
         "####\n####\n####\n####\n"},
        // y = 4 - 16t + 16t^2 at x = 4t: 2.25 at the outer centres, 0.25 at the inner ones.
        {"a quadratic curve", {{TC::Move, 0, 4}, {TC::Quad, 4, 4, 2, -4}, {TC::Close}}, 4, 4,
         ".##.\n.##.\n####\n####\n"},
        {"nothing", {}, 2, 1, "..\n"},
    };
    for (const auto& Row : Rows)
        EXPECT_EQ(Show(SampleOutline(Row.Outline.data(), Row.Outline.size(), Row.Width, Row.Height)), Row.Mask)
            << Row.Name;
}

TEST(RasterTest, SpansPackAsPngRows)
{
    const struct {
        const char* Name;
        int Depth;
        std::int32_t Width;
        std::uint8_t Fill;
        std::vector<std::array<std::int32_t, 3>> Spans; // from, to, index
        std::vector<std::uint8_t> Row;
    } Rows[] = {
        {"1 bit, across a byte's edge", 1, 12, 0, {{{6, 10, 1}}}, {0x03, 0xC0}},
        {"1 bit, white filled, a black whole byte", 1, 20, 1, {{{8, 16, 0}}}, {0xFF, 0x00, 0xFF}},
        {"2 bits, three colours", 2, 6, 0, {{{1, 3, 2}, {4, 6, 1}}}, {0x28, 0x50}},
        {"clipped to the row", 1, 4, 0, {{{-5, 2, 1}, {3, 99, 1}}}, {0xD0}},
        {"an empty span", 1, 8, 0, {{{5, 5, 1}, {6, 2, 1}}}, {0x00}},
    };
    for (const auto& Row : Rows) {
        TPackedRows P;
        P.Reset(Row.Width, 1, Row.Depth, Row.Fill);
        for (const auto& [From, To, Index] : Row.Spans)
            P.Span(0, From, To, std::uint8_t(Index));
        ASSERT_EQ(P.Stride(), Row.Row.size()) << Row.Name;
        EXPECT_EQ(std::vector<std::uint8_t>(P.Row(0), P.Row(0) + P.Stride()), Row.Row) << Row.Name;
    }
}

} // namespace
