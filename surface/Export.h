#pragma once

// Marks what the shared library exports; everything else is hidden. The same
// attribute serves the library and its users on the compilers we build with.
#if defined(__GNUC__) || defined(__clang__)
#define WEQBARCODE_EXPORT __attribute__((visibility("default")))
#else
#define WEQBARCODE_EXPORT
#endif

// Internals that the library's own tests reach for: exported, but declared
// only in headers that are not installed.
#define WEQBARCODE_TEST_EXPORT WEQBARCODE_EXPORT
