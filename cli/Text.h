// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// User text in messages: every byte that is not printable ASCII shown as
// \xNN, so that no control character (C0, DEL, C1 raw or UTF-8 encoded)
// ever reaches the terminal from an input line, an argument or a path.

#include <cstddef>
#include <string>
#include <string_view>

namespace WEQCli {

// A byte that may stand in a message as it is.
inline bool Printable(unsigned char Byte) { return Byte >= 0x20 && Byte < 0x7F; }

// Exactly Count ASCII digits: an add-on's, an ISSN variant's.
inline bool Digits(std::string_view Text, std::size_t Count)
{
    if (Text.size() != Count)
        return false;
    for (const char C : Text)
        if (C < '0' || C > '9')
            return false;
    return true;
}

// Text with every byte outside printable ASCII as \xNN.
std::string Escape(std::string_view Text);

// 'text', escaped; text longer than Max bytes is cut, "..." marking the cut.
std::string Quote(std::string_view Text, std::size_t Max = 40);

// 'text' around the 1-based byte Position: a window of about Max bytes that
// holds it, "..." on each side that is cut.
std::string QuoteAround(std::string_view Text, std::size_t Position, std::size_t Max = 60);

} // namespace WEQCli
