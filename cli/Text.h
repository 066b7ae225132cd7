// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// User text in messages: printable ASCII and printable UTF-8 characters as
// they are, every other byte shown as \xNN, so that no control character
// (C0, DEL, C1 raw or UTF-8 encoded), no text-direction or invisible format
// character and no broken UTF-8 ever reaches the terminal from an input
// line, an argument or a path.

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

// The byte length of the printable character at Text[At] (ASCII, or a
// UTF-8 sequence of a printable character); 0 where the byte begins none.
std::size_t PrintableAt(std::string_view Text, std::size_t At);

// The 1-based position of the first byte that begins no printable
// character, a tab aside; 0 for none.
std::size_t FirstUnprintable(std::string_view Text);

// Text with every byte that begins no printable character as \xNN.
std::string Escape(std::string_view Text);

// 'text', escaped; text longer than Max bytes is cut, "..." marking the cut.
std::string Quote(std::string_view Text, std::size_t Max = 40);

// 'text' around the 1-based byte Position: a window of about Max bytes that
// holds it, "..." on each side that is cut.
std::string QuoteAround(std::string_view Text, std::size_t Position, std::size_t Max = 60);

} // namespace WEQCli
