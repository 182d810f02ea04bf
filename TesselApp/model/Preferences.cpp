// SPDX-License-Identifier: GPL-3.0-or-later
#include "Preferences.h"

#include <QLocale>
#include <QMetaType>
#include <QSettings>
#include <QVariant>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

namespace tessel::Preferences {

namespace {

bool isIntegerType(const QVariant& value) {
    switch (value.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
            return true;
        default:
            return false;
    }
}

bool isFloatType(const QVariant& value) {
    const int id = value.metaType().id();
    return id == QMetaType::Double || id == QMetaType::Float;
}

std::optional<std::int64_t> readInteger(const QSettings& settings, const char* key) {
    const QVariant value = settings.value(key);
    if (isIntegerType(value)) {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (ok) return number;
        return std::numeric_limits<std::int64_t>::max();  // an unsigned value beyond 63 bits
    }
    if (value.metaType().id() == QMetaType::QString) {
        bool ok = false;
        const qlonglong number = value.toString().toLongLong(&ok, 10);
        if (ok) return number;
    }
    return std::nullopt;
}

std::optional<double> readNumber(const QSettings& settings, const char* key) {
    const QVariant value = settings.value(key);
    if (isIntegerType(value) || isFloatType(value)) return value.toDouble();
    if (value.metaType().id() == QMetaType::QString) {
        bool ok = false;
        const double number = QLocale::c().toDouble(value.toString(), &ok);
        if (ok) return number;
        const QString text = value.toString().trimmed().toLower();
        if (text == "nan" || text == "inf" || text == "-inf" || text == "+inf") return std::nan("");
    }
    return std::nullopt;
}

std::optional<bool> readBoolean(const QSettings& settings, const char* key) {
    const QVariant value = settings.value(key);
    if (value.metaType().id() == QMetaType::Bool) return value.toBool();
    if (value.metaType().id() == QMetaType::QString) {
        const QString text = value.toString();
        if (text.compare("true", Qt::CaseInsensitive) == 0) return true;
        if (text.compare("false", Qt::CaseInsensitive) == 0) return false;
    }
    return std::nullopt;
}

}  // namespace

std::int64_t clampedStartingBand(std::int64_t value) {
    return std::clamp<std::int64_t>(value, 1, 6);
}

int clampedDailyGoal(std::int64_t value) {
    constexpr std::array<std::int64_t, 5> kOptions = {10, 20, 30, 50, 100};
    const std::int64_t c = std::clamp<std::int64_t>(value, 10, 100);
    std::int64_t best = kOptions.front();
    for (std::int64_t option : kOptions) {
        if (std::llabs(option - c) < std::llabs(best - c)) best = option;
    }
    return static_cast<int>(best);
}

std::int64_t clampedNewWordsPerSession(std::int64_t value) {
    return std::clamp<std::int64_t>(value, 1, 20);
}

double normalizedSpeechRate(double value) {
    if (!std::isfinite(value)) return kDefaultSpeechRate;
    return std::clamp(value, kMinimumSpeechRate, kMaximumSpeechRate);
}

Values read(const QSettings& settings) {
    Values values;
    const QVariant language = settings.value(kSelectedLanguage);
    values.selectedLanguage =
        language.metaType().id() == QMetaType::QString && language.toString() == "japanese"
            ? LearningLanguage::japanese
            : LearningLanguage::chinese;
    values.hasCompletedOnboarding = readBoolean(settings, kHasCompletedOnboarding).value_or(false);
    values.startingBand =
        clampedStartingBand(readInteger(settings, kStartingBand).value_or(kDefaultStartingBand));
    values.dailyGoal =
        clampedDailyGoal(readInteger(settings, kDailyGoal).value_or(kDefaultDailyGoal));
    values.newWordsPerSession = clampedNewWordsPerSession(
        readInteger(settings, kNewWordsPerSession).value_or(kDefaultNewWordsPerSession));
    values.speechRate =
        normalizedSpeechRate(readNumber(settings, kSpeechRate).value_or(kDefaultSpeechRate));
    values.showReading = readBoolean(settings, kShowReading).value_or(true);
    values.showTranslation = readBoolean(settings, kShowTranslation).value_or(true);
    values.playAudioAutomatically = readBoolean(settings, kPlayAudioAutomatically).value_or(false);
    return values;
}

void writeBack(QSettings& settings, const Values& values) {
    settings.setValue(kStartingBand, static_cast<qlonglong>(values.startingBand));
    settings.setValue(kDailyGoal, static_cast<qlonglong>(values.dailyGoal));
    settings.setValue(kNewWordsPerSession, static_cast<qlonglong>(values.newWordsPerSession));
    settings.setValue(kSpeechRate, values.speechRate);
}

}  // namespace tessel::Preferences
