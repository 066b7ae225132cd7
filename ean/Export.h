// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

/// \file
/// \ingroup legacy
/// Marks what the shared library exports; everything else is hidden. The same
/// attribute serves the library and its users on the compilers we build with.
/// WEQBARCODE_HIDDEN keeps a private struct nested in an exported class out
/// of the export it would otherwise share.

#if defined(__GNUC__) || defined(__clang__)
/// Exported from the shared library: on a class, a function or a variable.
#define WEQBARCODE_EXPORT __attribute__((visibility("default")))
/// Kept inside the shared library even where the class around it is exported.
#define WEQBARCODE_HIDDEN __attribute__((visibility("hidden")))
#else
#define WEQBARCODE_EXPORT
#define WEQBARCODE_HIDDEN
#endif
