// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <chrono>
#include <optional>

namespace tessel {

class AppModel;

// Test-only helper handed to the QML tests as the singleton `TestHarness` (import
// Brindle.Testing): moves the model's clock, shows what would have been spoken, reads the
// progress file the model writes, and names the progress fixture a test restores to give the
// model a history (tests/data/progress-fixture.json: its days lie in March 2024, the last on the
// 30th, so tests that restore it stop the clock on one of those days first).
class TestHarness : public QObject {
    Q_OBJECT
    Q_PROPERTY(QStringList spoken READ spoken NOTIFY spokenChanged)
    Q_PROPERTY(QString progressFilePath READ progressFilePath CONSTANT)
    Q_PROPERTY(QString homePath READ homePath CONSTANT)
    Q_PROPERTY(QString progressFixturePath READ progressFixturePath CONSTANT)

  public:
    TestHarness(QString homePath, QString progressFilePath, QString progressFixturePath,
                QObject* parent = nullptr)
        : QObject(parent),
          m_homePath(std::move(homePath)),
          m_progressFilePath(std::move(progressFilePath)),
          m_progressFixturePath(std::move(progressFixturePath)) {}

    void setModel(AppModel* model) { m_model = model; }

    // The model's clock: the real time moved by whole days.
    std::chrono::system_clock::time_point now() const {
        const auto base = m_stoppedAt ? *m_stoppedAt : std::chrono::system_clock::now();
        return base + std::chrono::hours(24) * m_dayOffset;
    }
    void recordSpeech(const QString& text, const QString& language) {
        m_spoken << (language + QLatin1Char(':') + text);
        emit spokenChanged();
    }

    QStringList spoken() const { return m_spoken; }
    QString progressFilePath() const { return m_progressFilePath; }
    QString homePath() const { return m_homePath; }
    QString progressFixturePath() const { return m_progressFixturePath; }

    // Moves the model's clock `days` days on.
    Q_INVOKABLE void advanceDays(int days) { m_dayOffset += days; }
    // Stops the model's clock at `at` (before any day offset); an invalid date lets it run with
    // the real time again.
    Q_INVOKABLE void setClock(const QDateTime& at) {
        if (at.isValid())
            m_stoppedAt = std::chrono::system_clock::time_point(
                std::chrono::milliseconds(at.toMSecsSinceEpoch()));
        else
            m_stoppedAt.reset();
    }
    Q_INVOKABLE void clearSpoken() {
        m_spoken.clear();
        emit spokenChanged();
    }
    // Saves queued or running in the model; 0 once every save has answered.
    Q_INVOKABLE int pendingSaves() const;
    // The progress file's text, "" when it does not exist.
    Q_INVOKABLE QString readProgressFile() const;
    // Every visible control of `window` that a person can operate, as assistive technology sees
    // it: {name, role, objectName, type, tabbable} with `role` the accessible role's number and
    // `tabbable` whether Tab reaches it. Accessibility is switched on first, so controls made
    // since the last call get their roles and names too.
    Q_INVOKABLE QVariantList accessibleControls(QObject* window) const;

  signals:
    void spokenChanged();

  private:
    AppModel* m_model = nullptr;
    QString m_homePath;
    QString m_progressFilePath;
    QString m_progressFixturePath;
    QStringList m_spoken;
    int m_dayOffset = 0;
    std::optional<std::chrono::system_clock::time_point> m_stoppedAt;
};

}  // namespace tessel
