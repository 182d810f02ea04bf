// SPDX-License-Identifier: GPL-3.0-or-later
#include "VectorState.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

namespace tessel {

namespace {

// Compiled for AVX on its own, so the rest of the program keeps its baseline instruction set;
// only called once the processor is known to have AVX.
__attribute__((target("avx"))) void zeroUpperHalves() {
    _mm256_zeroupper();
}

}  // namespace

void clearUpperVectorState() {
    if (__builtin_cpu_supports("avx")) zeroUpperHalves();
}

}  // namespace tessel

#else

namespace tessel {

void clearUpperVectorState() {}

}  // namespace tessel

#endif
