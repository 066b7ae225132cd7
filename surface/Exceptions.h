// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

/// \file
/// \ingroup legacy
/// Kept where programs written against earlier releases include it; the
/// definitions are the core's, beneath the drawing surface.
#include "../ean/Exceptions.h"
