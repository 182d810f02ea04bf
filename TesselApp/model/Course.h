// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "LexiconRecords.h"
#include "SessionSelection.h"

namespace tessel {

// One language's course cards as loaded from the lexicon, indexed by item id. Session selection
// reads the lessons in place through `view()`, so a course is moved, never copied.
class Course {
  public:
    Course() = default;
    explicit Course(std::vector<LexiconLesson> lessons);
    Course(Course&&) = default;
    Course& operator=(Course&&) = default;
    Course(const Course&) = delete;
    Course& operator=(const Course&) = delete;

    const std::vector<LexiconLesson>& lessons() const { return m_lessons; }
    std::size_t size() const { return m_lessons.size(); }
    bool empty() const { return m_lessons.empty(); }
    // The lesson of the item with this id (the first one should the id repeat); null when the
    // course has none.
    const LexiconLesson* lesson(const std::string& itemID) const;
    bool contains(const std::string& itemID) const { return m_view.find(itemID).has_value(); }
    // The lessons as session selection reads them; valid as long as this course.
    const CourseView& view() const { return m_view; }

  private:
    std::vector<LexiconLesson> m_lessons;
    CourseView m_view;
};

}  // namespace tessel
