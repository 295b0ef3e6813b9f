// Marks a hot pixel loop to be compiled twice on x86-64, once for AVX2 and
// once for the baseline, with the better one picked when the program loads.
// Elsewhere the mark does nothing, and so it does under ThreadSanitizer,
// whose instrumented clone picker would run before the sanitizer has started.
#pragma once

#if defined(__SANITIZE_THREAD__)
#define TANDRY_NO_VECTOR_CLONES
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TANDRY_NO_VECTOR_CLONES
#endif
#endif

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__)) && !defined(TANDRY_NO_VECTOR_CLONES)
#define TANDRY_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define TANDRY_VECTOR_CLONES
#endif
