#pragma once

#include "ean/WEQEanSymbol.h"

#include <exception>

namespace WEQEan {

// DescribeEan13, but a GTIN that cannot be drawn gives the elements up to the
// one that fails, with the error in Failure: the drawing then draws those
// and fails where the symbol does.
// Into S, whose element storage is reused.
void DescribeEan13Into(TSymbol& S, const std::string& GTIN, std::int32_t Width, std::int32_t Height,
                       bool DrawRightDelimiter, std::exception_ptr& Failure);

} // namespace WEQEan
