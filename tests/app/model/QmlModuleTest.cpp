// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtQml/qqmlextensionplugin.h>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QTest>

#include "TestSupport.h"

Q_IMPORT_QML_PLUGIN(Brindle_ModelPlugin)

using namespace tessel;
using namespace tessel::test;

// The model as a QML scene sees it: the singleton, its value types and its optional values.
class QmlModuleTest : public QObject {
    Q_OBJECT

  private slots:
    void sceneReadsTheModel() {
        Harness h;
        AppModel& model = h.build();
        QTRY_VERIFY(model.isProgressReady());
        AppModel::setInstance(&model);

        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/"));
        QQmlComponent component(&engine);
        component.setData(R"(
            import QtQuick
            import Brindle.Model
            QtObject {
                property string language: AppModel.selectedLanguage
                property int reference: AppModel.counts.referenceEntries
                property string firstNew: AppModel.plan.newItems[0].term
                property int planSize: AppModel.plan.items.length
                property bool noCard: AppModel.currentItem === undefined
                property bool noStart: AppModel.sessionStartedAt === undefined
                property string source: AppModel.sources[0].name
                property int week: AppModel.statsForRecentDays(7).length
                property string today: AppModel.statsForRecentDays(1)[0].stats.day
                property bool noRecord: AppModel.cardFor("zh-hao") === undefined
                property string phase: AppModel.sessionPhase
                function start() {
                    AppModel.beginSession(false)
                    return AppModel.currentItem.term + "|" + AppModel.currentLesson.note
                        + "|" + AppModel.currentLesson.item.id
                }
                function answer(text) {
                    AppModel.answer = text
                    AppModel.submitAnswer()
                    return AppModel.answerEvaluation.isCorrect
                }
            }
        )",
                          QUrl());
        std::unique_ptr<QObject> scene(component.create());
        QVERIFY2(scene, qPrintable(component.errorString()));
        QCOMPARE(scene->property("language").toString(), QString("chinese"));
        QCOMPARE(scene->property("reference").toInt(), 24);
        QCOMPARE(scene->property("firstNew").toString(), QString("你好"));
        QCOMPARE(scene->property("planSize").toInt(), 2);
        QCOMPARE(scene->property("noCard").toBool(), true);
        QCOMPARE(scene->property("noStart").toBool(), true);
        QCOMPARE(scene->property("source").toString(), QString("Brindle starter exercises"));
        QCOMPARE(scene->property("week").toInt(), 7);
        QCOMPARE(scene->property("today").toString(), QString("2024-05-01"));
        QCOMPARE(scene->property("noRecord").toBool(), true);

        QVariant started;
        QVERIFY(QMetaObject::invokeMethod(scene.get(), "start", Q_RETURN_ARG(QVariant, started)));
        QCOMPARE(started.toString(), QString("你好|A greeting.|zh-nihao"));
        QCOMPARE(scene->property("phase").toString(), QString("answering"));
        QCOMPARE(scene->property("noCard").toBool(), false);

        QVariant correct;
        QVERIFY(QMetaObject::invokeMethod(scene.get(), "answer", Q_RETURN_ARG(QVariant, correct),
                                          Q_ARG(QVariant, QString("ni3 hao3"))));
        QCOMPARE(correct.toBool(), true);
        QCOMPARE(scene->property("phase").toString(), QString("feedback"));
        AppModel::setInstance(nullptr);
    }
};

QTEST_MAIN(QmlModuleTest)
#include "QmlModuleTest.moc"
