// SPDX-License-Identifier: GPL-3.0-or-later
#include "VectorState.h"

#include <gtest/gtest.h>

#include <cstdint>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace tessel {
namespace {

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))

// Whether the processor reports which register state is in use (XGETBV with ECX = 1).
bool reportsStateInUse() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    return __builtin_cpu_supports("avx") && __get_cpuid_count(0xD, 1, &a, &b, &c, &d) &&
           (a & (1u << 2)) != 0;
}

// True while the upper halves of the AVX registers hold something.
__attribute__((target("xsave"))) bool upperHalvesInUse() {
    return (_xgetbv(1) & (1u << 2)) != 0;
}

// Leaves the upper halves in use, as a library compiled for AVX can. Written as plain assembly:
// a function compiled for AVX would clear them again on return.
void fillUpperHalves() {
    asm volatile("vpcmpeqd %%ymm0, %%ymm0, %%ymm0" ::: "xmm0");
}

TEST(VectorStateTest, ClearsUpperHalvesLeftInUse) {
    if (!reportsStateInUse()) GTEST_SKIP() << "the processor does not report register state";
    fillUpperHalves();
    ASSERT_TRUE(upperHalvesInUse());
    clearUpperVectorState();
    EXPECT_FALSE(upperHalvesInUse());
}

#else

TEST(VectorStateTest, DoesNothingElsewhere) {
    clearUpperVectorState();
}

#endif

}  // namespace
}  // namespace tessel
