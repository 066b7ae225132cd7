// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "control/GtinInput_p.h"

#include <QList>

namespace WEQ {

std::string GtinPositions(const QString& Text, std::size_t Max)
{
    std::string Out;
    for (char32_t Ch : Text.left(2 * qsizetype(Max)).toUcs4()) {
        if (Out.size() == Max)
            break;
        Out += (Ch >= U' ' && Ch <= U'~') ? char(Ch) : '?';
    }
    return Out;
}

} // namespace WEQ
