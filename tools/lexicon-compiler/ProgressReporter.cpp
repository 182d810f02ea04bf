// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressReporter.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace tessel::compiler {

ProgressReporter::ProgressReporter(std::vector<Phase> phases, std::FILE* stream)
    : m_phases(std::move(phases)),
      m_stream(stream),
      m_interactive(stream != nullptr && ::isatty(::fileno(stream)) == 1),
      m_start(std::chrono::steady_clock::now()) {}

int ProgressReporter::percentFor(std::size_t phase, double fraction) const {
    double total = 0, before = 0;
    for (std::size_t i = 0; i < m_phases.size(); ++i) {
        total += m_phases[i].weight;
        if (i < phase) before += m_phases[i].weight;
    }
    if (total <= 0 || phase >= m_phases.size()) return 100;
    const double share = before + m_phases[phase].weight * std::clamp(fraction, 0.0, 1.0);
    return static_cast<int>(std::floor(100.0 * share / total));
}

void ProgressReporter::begin(const std::string& name) {
    for (std::size_t i = m_current; i < m_phases.size(); ++i) {
        if (m_phases[i].name == name) {
            m_current = i;
            break;
        }
    }
    show(percentFor(m_current, 0.0), true);
}

void ProgressReporter::update(double fraction) {
    show(percentFor(m_current, fraction), false);
}

void ProgressReporter::note(const std::string& text) {
    if (m_stream == nullptr) return;
    if (m_interactive) std::fputs("\r\033[K", m_stream);
    std::fprintf(m_stream, "  %s\n", text.c_str());
    if (m_interactive) show(m_lastPercent, true);
    std::fflush(m_stream);
}

void ProgressReporter::done() {
    if (m_stream == nullptr) return;
    const auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start);
    if (m_interactive) std::fputs("\r\033[K", m_stream);
    std::fprintf(m_stream, "[100%%] Done in %.1f s\n", elapsed.count());
    std::fflush(m_stream);
}

void ProgressReporter::show(int percent, bool force) {
    if (m_stream == nullptr) return;
    const std::string& name = m_phases.empty() ? std::string() : m_phases[m_current].name;
    if (m_interactive) {
        if (!force && percent == m_lastPercent) return;
        std::fprintf(m_stream, "\r\033[K[%3d%%] %s", percent, name.c_str());
    } else {
        if (!force && percent / 10 == m_lastPercent / 10) return;
        std::fprintf(m_stream, "[%3d%%] %s\n", percent, name.c_str());
    }
    m_lastPercent = percent;
    std::fflush(m_stream);
}

}  // namespace tessel::compiler
