// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressBackup.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <string_view>

#include "ProgressJSON.h"

namespace tessel::ProgressBackup {

namespace {

std::string utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

}  // namespace

Result<void> exportTo(const QString& path, const LearnerProgress& progress) {
    auto encoded = ProgressJSON::encode(progress, /*prettyPrinted=*/true);
    if (!encoded) return tl::unexpected(encoded.error());
    QSaveFile file(path);
    // Without the fallback a path that cannot take a temporary file next to it fails instead of
    // being overwritten in place.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        return fail("The file “" + utf8(QFileInfo(path).fileName()) +
                    "” could not be written: " + utf8(file.errorString()));
    }
    const auto& bytes = *encoded;
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit()) {
        const std::string reason = utf8(file.errorString());
        file.cancelWriting();
        return fail("The file “" + utf8(QFileInfo(path).fileName()) +
                    "” could not be written: " + reason);
    }
    return {};
}

Result<LearnerProgress> readFrom(const QString& path) {
    const QFileInfo info(path);
    const std::string name = utf8(info.fileName());
    if (!info.exists()) return fail("The file “" + name + "” does not exist.");
    if (!info.isFile()) return fail("“" + name + "” is not a file.");
    if (info.size() > kMaximumRestoreBytes) {
        return fail("The file “" + name +
                    "” is larger than 64 MB and cannot be a Brindle progress file.");
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return fail("The file “" + name + "” could not be read: " + utf8(file.errorString()));
    }
    // Read one byte past the limit so a file that grew after the size check is still refused.
    const QByteArray bytes = file.read(kMaximumRestoreBytes + 1);
    if (bytes.size() > kMaximumRestoreBytes) {
        return fail("The file “" + name +
                    "” is larger than 64 MB and cannot be a Brindle progress file.");
    }
    const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return ProgressJSON::decodeFile(text, name);
}

QString unreadableFileName(const QString& progressFilePath, Instant at) {
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(at.time_since_epoch()).count();
    const QString stamp = QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC)
                              .toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    return QFileInfo(progressFilePath).fileName() + QStringLiteral(".unreadable-") + stamp;
}

Result<void> keepAside(const QString& progressFilePath, const QString& asideName) {
    const QFileInfo info(progressFilePath);
    if (!info.exists()) return {};
    const QDir folder = info.dir();
    QString target = folder.filePath(asideName);
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = folder.filePath(asideName + QStringLiteral("-%1").arg(n));
    QFile file(progressFilePath);
    if (!file.rename(target)) {
        return fail("The unreadable progress file could not be kept as “" +
                    utf8(QFileInfo(target).fileName()) + "”: " + utf8(file.errorString()));
    }
    return {};
}

}  // namespace tessel::ProgressBackup
