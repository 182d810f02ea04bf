// SPDX-License-Identifier: GPL-3.0-or-later
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include "TestSupport.h"

using namespace tessel;
using namespace tessel::test;

namespace {

std::vector<std::string> resultIds(const AppModel& model) {
    std::vector<std::string> out;
    for (const auto& entry : model.searchResultsValue()) out.push_back(entry.id);
    return out;
}

}  // namespace

class SearchTest : public QObject {
    Q_OBJECT

  private slots:
    void oneKeystrokeSearchesAfterTheDelay() {
        Harness h;
        AppModel& model = h.build();
        QSignalSpy results(&model, &AppModel::searchResultsChanged);
        QElapsedTimer elapsed;
        elapsed.start();
        model.setSearchQuery("panda");
        model.runSearch();
        QCOMPARE(model.isSearching(), true);
        QVERIFY(results.wait(1000));
        QVERIFY2(elapsed.elapsed() >= 140, qPrintable(QString::number(elapsed.elapsed())));
        QCOMPARE(model.isSearching(), false);
        QCOMPARE(resultIds(model), std::vector<std::string>{"zh-xiongmao"});
    }

    void quickKeystrokesQueryOnceForTheFinalText() {
        Harness h;
        AppModel& model = h.build();
        QSignalSpy results(&model, &AppModel::searchResultsChanged);
        QSignalSpy searching(&model, &AppModel::isSearchingChanged);
        for (const char* text : {"b", "bo", "boo"}) {
            model.setSearchQuery(text);
            model.runSearch();
            QTest::qWait(50);
        }
        QTRY_COMPARE(model.isSearching(), false);
        QTest::qWait(200);  // long enough for every earlier wait to have ended
        QCOMPARE(results.count(), 1);
        QCOMPARE(searching.count(), 2);  // on once, off once
        QCOMPARE(resultIds(model), std::vector<std::string>{"zh-shu"});
    }

    void languageSwitchDuringTheDelayDropsTheSearch() {
        Harness h;
        AppModel& model = h.build();
        model.setSearchQuery("book");
        model.runSearch();
        QVERIFY(model.isSearching());
        model.selectLanguage("japanese");
        QCOMPARE(model.isSearching(), false);
        // The switch itself refreshes the results for the same text in the new language...
        QCOMPARE(resultIds(model), std::vector<std::string>{"ja-hon"});
        QSignalSpy results(&model, &AppModel::searchResultsChanged);
        QTest::qWait(250);
        // ...and the overtaken search never answers.
        QCOMPARE(results.count(), 0);
        QCOMPARE(model.isSearching(), false);
    }

    void emptyQueryBrowsesTheCourse() {
        Harness h;
        AppModel& model = h.build();
        model.setSearchQuery("panda");
        model.runSearch();
        QTRY_COMPARE(model.isSearching(), false);
        model.setSearchQuery("");
        model.runSearch();
        QTRY_COMPARE(model.isSearching(), false);
        QCOMPARE(model.searchResultsValue().size(), std::size_t(24));
        QCOMPARE(model.searchResultsValue().front().id, std::string("zh-nihao"));
    }

    void modelGoneDuringTheDelayIsHarmless() {
        Harness h;
        AppModel& model = h.build();
        model.setSearchQuery("hao");
        model.runSearch();
        h.model.reset();
        QTest::qWait(200);
    }
};

QTEST_GUILESS_MAIN(SearchTest)
#include "SearchTest.moc"
