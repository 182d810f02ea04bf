// SPDX-License-Identifier: GPL-3.0-or-later
#include "Course.h"

namespace tessel {

Course::Course(std::vector<LexiconLesson> lessons)
    : m_lessons(std::move(lessons)), m_view(m_lessons) {}

const LexiconLesson* Course::lesson(const std::string& itemID) const {
    const auto found = m_view.find(itemID);
    return found ? &m_lessons[*found] : nullptr;
}

}  // namespace tessel
