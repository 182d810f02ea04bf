// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "Course.h"

using namespace tessel;

class CourseTest : public QObject {
    Q_OBJECT

  private slots:
    void repeatedIdsKeepTheFirstLesson() {
        LexiconLesson first;
        first.item.id = "zh-a";
        first.note = "first";
        LexiconLesson second = first;
        second.note = "second";
        Course moved({first, second});
        // The course is read in place by session selection; moving it keeps its index valid.
        const Course course = std::move(moved);
        QCOMPARE(course.lesson("zh-a")->note, std::string("first"));
        QVERIFY(course.lesson("zh-b") == nullptr);
        QCOMPARE(course.view().size(), std::size_t{2});
        QCOMPARE(&course.view().item(0), &course.lessons()[0].item);
    }
};

QTEST_GUILESS_MAIN(CourseTest)
#include "CourseTest.moc"
