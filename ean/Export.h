// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Marks what the shared library exports; everything else is hidden. The same
// attribute serves the library and its users on the compilers we build with.
#if defined(__GNUC__) || defined(__clang__)
#define WEQBARCODE_EXPORT __attribute__((visibility("default")))
#else
#define WEQBARCODE_EXPORT
#endif
