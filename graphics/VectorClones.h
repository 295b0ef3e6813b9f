// Marks a hot pixel loop to be compiled twice on x86-64, once for AVX2 and
// once for the baseline, with the better one picked when the program loads.
// Elsewhere the mark does nothing.
#pragma once

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TANDRY_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define TANDRY_VECTOR_CLONES
#endif
