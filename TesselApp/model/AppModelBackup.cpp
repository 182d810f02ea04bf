// SPDX-License-Identifier: GPL-3.0-or-later
#include <QUrl>

#include "AppModel.h"
#include "ProgressBackup.h"

// Backup, restore and reset of the learner's progress.

namespace tessel {

namespace {

QString localPath(const QVariant& location) {
    if (location.metaType().id() == QMetaType::QUrl) return location.toUrl().toLocalFile();
    const QString text = location.toString();
    if (text.startsWith(QStringLiteral("file:"))) return QUrl(text).toLocalFile();
    return text;
}

}  // namespace

QString AppModel::exportProgress(const QVariant& location) {
    return exportProgressToFile(localPath(location));
}

QString AppModel::restoreProgress(const QVariant& location) {
    return restoreProgressFromFile(localPath(location));
}

QString AppModel::exportProgressToFile(const QString& path) const {
    if (path.isEmpty()) return QStringLiteral("No file was chosen.");
    auto written = ProgressBackup::exportTo(path, m_progress);
    return written ? QString() : QString::fromStdString(written.error().description);
}

QString AppModel::restoreProgressFromFile(const QString& path) {
    if (path.isEmpty()) return QStringLiteral("No file was chosen.");
    auto restored = ProgressBackup::readFrom(path);
    if (!restored) return QString::fromStdString(restored.error().description);
    ++m_progressMutationGeneration;
    replaceProgress(std::move(*restored));
    progressBecameReady();
    persistWholeProgress();
    return QString();
}

void AppModel::resetProgress() {
    ++m_progressMutationGeneration;
    replaceProgress(LearnerProgress());
    progressBecameReady();
    persistWholeProgress();
}

}  // namespace tessel
