// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include "AppModel.h"
#include "JSONProgressStore.h"
#include "LexiconLocation.h"
#include "SpeechService.h"

namespace tessel {

QString AppModel::defaultProgressFilePath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("Brindle/progress.json"));
}

AppModel* AppModel::createDefault(QObject* parent, const QString& readOnlyReason) {
    Dependencies deps;
    // The lexicon is looked for in the same data folders the progress file lives in.
    std::vector<std::filesystem::path> dataFolders;
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        dataFolders.emplace_back(folder.toStdString());
    }
    auto lexicon = LexiconStore::openFirstExisting(
        bundledLexiconCandidates(dataFolders, runningExecutableFolder()));
    if (lexicon) {
        deps.lexicon = std::move(*lexicon);
    } else {
        deps.initialError = QString::fromStdString(lexicon.error().description);
    }

    const QString path = defaultProgressFilePath();
    deps.progressStore = std::make_shared<JSONProgressStore>(path.toStdString(), true);
    deps.progressFilePath = path;
    deps.readOnlyReason = readOnlyReason;

    auto* settings = new QSettings(QStringLiteral("Brindle"), QStringLiteral("Brindle"));
    deps.settings = settings;
    deps.speech = std::make_shared<SpeechService>();
    deps.readCourseInBackground = true;

    auto* model = new AppModel(std::move(deps), parent);
    settings->setParent(model);
    return model;
}

}  // namespace tessel
