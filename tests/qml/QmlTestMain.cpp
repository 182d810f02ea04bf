// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the QML screen tests: one process per tst_*.qml file (ctest passes -input FILE), each on a
// fresh model over the fixture lexicon, with its preferences, progress file and home folder in a
// temporary directory, so no test sees the learner's own data or another test file's state. The
// model is the real one; `create()` hands QML the instance built here.
#include <QtQml/qqmlextensionplugin.h>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSettings>
#include <QTemporaryDir>
#include <QtQuickTest>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "AppModel.h"
#include "FixtureLexicon.h"
#include "JSONProgressStore.h"
#include "LexiconStore.h"
#include "SpeechOutput.h"
#include "SpeechService.h"
#include "TestHarness.h"

Q_IMPORT_QML_PLUGIN(BrindlePlugin)
Q_IMPORT_QML_PLUGIN(Brindle_ModelPlugin)

namespace tessel {

int TestHarness::pendingSaves() const {
    return m_model ? m_model->pendingSaveCount() : 0;
}

QString TestHarness::readProgressFile() const {
    QFile file(m_progressFilePath);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

namespace {

bool isOperable(const QAccessibleInterface& node) {
    // Read-only text (a checksum, a sentence) can be selected but not operated.
    if (node.role() == QAccessible::EditableText && node.state().readOnly) return false;
    // Static text is read, not operated; scroll bars follow the page and are announced by role.
    if (node.role() == QAccessible::StaticText || node.role() == QAccessible::ScrollBar)
        return false;
    switch (node.role()) {
        case QAccessible::Button:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::SpinBox:
        case QAccessible::Slider:
        case QAccessible::EditableText:
        case QAccessible::Link:
        case QAccessible::ListItem:
        case QAccessible::PageTab:
        case QAccessible::MenuItem:
        case QAccessible::ButtonMenu:
        case QAccessible::ButtonDropDown:
            return true;
        default:
            return node.state().focusable;
    }
}

// Whether Tab reaches `item`: itself, or for a row of a list, the list that holds it (its rows
// then move with the arrow keys).
bool reachableByTab(const QQuickItem* item, QAccessible::Role role) {
    if (!item) return false;
    if (item->activeFocusOnTab()) return true;
    if (role != QAccessible::ListItem) return false;
    for (const QQuickItem* up = item->parentItem(); up; up = up->parentItem()) {
        if (up->activeFocusOnTab()) return true;
    }
    return false;
}

void collectControls(QAccessibleInterface* node, QVariantList* out, int depth) {
    if (!node || !node->isValid() || depth > 200) return;
    if (node->state().invisible) return;
    if (isOperable(*node)) {
        QObject* object = node->object();
        const auto* item = qobject_cast<QQuickItem*>(object);
        out->append(QVariantMap{
            {QStringLiteral("name"), node->text(QAccessible::Name)},
            {QStringLiteral("role"), static_cast<int>(node->role())},
            {QStringLiteral("objectName"), object ? object->objectName() : QString()},
            {QStringLiteral("type"),
             object ? QString::fromLatin1(object->metaObject()->className()) : QString()},
            {QStringLiteral("tabbable"), reachableByTab(item, node->role())},
            {QStringLiteral("enabled"), item ? item->isEnabled() : !node->state().disabled},
        });
    }
    for (int i = 0; i < node->childCount(); ++i) collectControls(node->child(i), out, depth + 1);
}

// Remembers what would have been spoken instead of speaking.
class RecordingSpeech final : public SpeechOutput {
  public:
    explicit RecordingSpeech(TestHarness* harness) : m_harness(harness) {}
    void speak(const QString& text, LearningLanguage language, float) override {
        m_harness->recordSpeech(text, language == LearningLanguage::japanese
                                          ? QStringLiteral("japanese")
                                          : QStringLiteral("chinese"));
    }
    void stop() override {}
    void prepare(LearningLanguage) override {}

  private:
    TestHarness* m_harness;
};

class Setup : public QObject {
    Q_OBJECT
  public:
    Setup() {
        if (!m_home.isValid()) qFatal("cannot create a temporary home folder");
    }
    QString homePath() const {
        const QString given = qEnvironmentVariable("BRINDLE_QML_TEST_HOME");
        return given.isEmpty() ? m_home.path() : given;
    }

  public slots:
    void qmlEngineAvailable(QQmlEngine* engine) {
        const QString home = homePath();
        const std::string lexiconPath = buildFixtureLexicon(home.toStdString());
        if (lexiconPath.empty()) qFatal("cannot build the fixture lexicon");

        // The end-to-end test runs the model exactly as the application builds it, inside a
        // throw-away home whose data folder holds the fixture lexicon.
        const bool asApplication = qEnvironmentVariable("BRINDLE_QML_TEST_MODEL") == "application";
        const QString progressPath =
            asApplication ? QDir(home).filePath(QStringLiteral("data/Brindle/progress.json"))
                          : QDir(home).filePath(QStringLiteral("Brindle/progress.json"));
        // A copy in the temporary home, so that no test can change the fixture itself.
        const QString fixturePath = QDir(home).filePath(QStringLiteral("progress-fixture.json"));
        QFile::remove(fixturePath);
        if (!QFile::copy(QStringLiteral(BRINDLE_TEST_DATA_DIR "/progress-fixture.json"),
                         fixturePath))
            qFatal("cannot copy the progress fixture");
        m_harness = new TestHarness(home, progressPath, fixturePath, this);

        if (asApplication) {
            QDir(home).mkpath(QStringLiteral("data/brindle"));
            QFile::copy(QString::fromStdString(lexiconPath),
                        QDir(home).filePath(QStringLiteral("data/brindle/Tessel.sqlite")));
            m_model = AppModel::createDefault(this);
        } else {
            m_settings = std::make_unique<QSettings>(
                QDir(home).filePath(QStringLiteral("prefs.ini")), QSettings::IniFormat);
            AppModel::Dependencies deps;
            deps.settings = m_settings.get();
            // tst_missingLexicon sees the model as it runs when the word list could not be opened.
            if (qEnvironmentVariable("BRINDLE_QML_TEST_MODEL") != "withoutLexicon") {
                auto lexicon = LexiconStore::open(lexiconPath);
                if (!lexicon) {
                    qFatal("cannot open the fixture lexicon: %s",
                           lexicon.error().description.c_str());
                }
                deps.lexicon = *lexicon;
            }
            deps.progressStore =
                std::make_shared<JSONProgressStore>(progressPath.toStdString(), true);
            deps.progressFilePath = progressPath;
            deps.speech = std::make_shared<RecordingSpeech>(m_harness);
            deps.now = [harness = m_harness] { return harness->now(); };
            m_model = new AppModel(std::move(deps), this);
        }
        m_harness->setModel(m_model);
        AppModel::setInstance(m_model);

        qmlRegisterSingletonInstance("Brindle.Testing", 1, 0, "TestHarness", m_harness);
        engine->addImportPath(QStringLiteral("qrc:/"));
    }

  private:
    QTemporaryDir m_home;
    std::unique_ptr<QSettings> m_settings;
    TestHarness* m_harness = nullptr;
    AppModel* m_model = nullptr;
};

}  // namespace

QVariantList TestHarness::accessibleControls(QObject* window) const {
    // The offscreen platform has no accessibility bridge; switching it on by hand gives every
    // control its role and name as a screen reader would find them.
    QAccessible::setActive(true);
    QVariantList controls;
    collectControls(QAccessible::queryAccessibleInterface(window), &controls, 0);
    return controls;
}

}  // namespace tessel

// Points every per-user folder of the end-to-end run into its temporary home, before anything
// asks for them.
static void useTemporaryHome(const QString& home) {
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/config")).toUtf8());
}

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (qEnvironmentVariable("BRINDLE_QML_TEST_MODEL") == "application") {
        if (!home.isValid()) return 1;
        useTemporaryHome(home.path());
        qputenv("BRINDLE_QML_TEST_HOME", home.path().toUtf8());
    }
    // The screens run in a QApplication as in the application (charts need widgets).
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(BRINDLE_VERSION));
    QTEST_SET_MAIN_SOURCE_PATH
    int code = 0;
    {
        tessel::Setup setup;
        code = quick_test_main_with_setup(argc, argv, "brindle_qml", QUICK_TEST_SOURCE_DIR, &setup);
    }
    // As the application ends (finishApplication): the end-to-end session readies the real voice,
    // and a test over before the engine has connected leaves its thread inside the speech
    // library, which the process must not be torn down under.
    if (tessel::SpeechService::engineLeftRunning()) {
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(code);
    }
    return code;
}

#include "QmlTestMain.moc"
