// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "Paths.h"

#include <filesystem>
#include <functional>
#include <string_view>

namespace WEQCli {

namespace {

constexpr int LineBits = 48;
constexpr std::uint64_t UnknownTaker = ~std::uint64_t(0);

} // namespace

void TPathSet::Grow()
{
    std::vector<TSlot> Old(Slots.empty() ? 1024 : Slots.size() * 2);
    Old.swap(Slots);
    const std::size_t Mask = Slots.size() - 1;
    for (const TSlot& S : Old) {
        if (!S.Where)
            continue;
        std::size_t I = std::size_t(S.Hash) & Mask;
        while (Slots[I].Where)
            I = (I + 1) & Mask;
        Slots[I] = S;
    }
}

bool TPathSet::Claim(const std::string& Path, std::uint32_t Input, std::uint64_t Line, TTaker& Taker)
{
    const std::string Normal = std::filesystem::path(Path).lexically_normal().string();
    const std::uint64_t Hash = std::hash<std::string_view>{}(Normal);
    // At most three quarters full, so that a probe ends soon.
    if ((Used + 1) * 4 > Slots.size() * 3)
        Grow();
    const std::size_t Mask = Slots.size() - 1;
    std::size_t I = std::size_t(Hash) & Mask;
    for (; Slots[I].Where; I = (I + 1) & Mask) {
        if (Slots[I].Hash != Hash)
            continue;
        const std::uint64_t W = Slots[I].Where;
        Taker.Known = W != UnknownTaker;
        Taker.Input = std::uint32_t(W >> LineBits);
        Taker.Line = W & ((std::uint64_t(1) << LineBits) - 1);
        return false;
    }
    const bool Fits = Input < 0xFFFF && Line > 0 && Line < (std::uint64_t(1) << LineBits);
    Slots[I] = {Hash, Fits ? std::uint64_t(Input) << LineBits | Line : UnknownTaker};
    ++Used;
    return true;
}

bool TFolders::Make(const std::string& Path, std::string& Error)
{
    const std::filesystem::path Folder = std::filesystem::path(Path).parent_path();
    if (Folder.empty() || Folder.native() == Last)
        return true;
    std::error_code Code;
    std::filesystem::create_directories(Folder, Code);
    if (Code) {
        Error = "cannot make folder " + Folder.string() + ": " + Code.message();
        return false;
    }
    Last = Folder.native();
    return true;
}

} // namespace WEQCli
