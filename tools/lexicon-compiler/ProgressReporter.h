// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace tessel::compiler {

// Shows the compiler's phases and overall percentage on a stream (stderr). On a terminal the
// line is redrawn in place; otherwise (build logs) a line is printed per phase and every 10 %.
class ProgressReporter {
  public:
    struct Phase {
        std::string name;
        double weight;  // share of the total work, any unit
    };

    ProgressReporter(std::vector<Phase> phases, std::FILE* stream);

    // Moves to the named phase. REQUIRES: `name` is one of the phases, in order.
    void begin(const std::string& name);
    // The share of the current phase that is done (0..1).
    void update(double fraction);
    // Prints a remark (counts, a warning) on its own line.
    void note(const std::string& text);
    // Ends the display with the total time.
    void done();

    // Overall percentage for a phase index and the share of it done; exposed for tests.
    int percentFor(std::size_t phase, double fraction) const;

  private:
    void show(int percent, bool force);

    std::vector<Phase> m_phases;
    std::FILE* m_stream;
    bool m_interactive;
    std::size_t m_current = 0;
    int m_lastPercent = -1;
    std::chrono::steady_clock::time_point m_start;
};

}  // namespace tessel::compiler
