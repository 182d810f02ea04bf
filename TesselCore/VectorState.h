// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tessel {

// Puts the calling thread's vector registers back in the state that plain SSE code expects.
//
// Why: Qt's QML library leaves the upper halves of the AVX registers in use when it is loaded,
// before main() runs; every thread the application starts inherits that state, and while it
// lasts recent Intel processors make each SSE instruction wait on those halves. Nothing in the
// program clears it (the C library's string functions on such processors no longer need to), so
// code that is mostly SSE moves and stores runs about half as fast: a 100,000-card save spent
// 50 ms instead of 27 encoding (bench/app/learner). Costs a few cycles; does nothing on a
// processor without AVX or on other architectures.
void clearUpperVectorState();

}  // namespace tessel
