// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "Vocabulary.h"

class QSettings;

namespace tessel {

// The learner's nine preferences in the key-value store, with their defaults and bounds.
//
// The store keeps every value as text once it has been written to disk (the INI format has no
// types), so "the wrong kind" is decided by parsing: an integer key holds an integer value or a
// text that is a whole decimal number ("45", "-3"); the rate key holds a number or a text that
// parses as one; a switch key holds a boolean or the text "true" or "false". Anything else, like
// "twenty" under "dailyGoal" or "yes" under "showReading", counts as missing and the default
// applies.
namespace Preferences {

inline constexpr const char* kSelectedLanguage = "selectedLanguage";
inline constexpr const char* kHasCompletedOnboarding = "hasCompletedOnboarding";
inline constexpr const char* kStartingBand = "startingBand";
inline constexpr const char* kDailyGoal = "dailyGoal";
inline constexpr const char* kNewWordsPerSession = "newWordsPerSession";
inline constexpr const char* kSpeechRate = "speechRate";
inline constexpr const char* kShowReading = "showReading";
inline constexpr const char* kShowTranslation = "showTranslation";
inline constexpr const char* kPlayAudioAutomatically = "playAudioAutomatically";

inline constexpr std::int64_t kDefaultStartingBand = 1;
inline constexpr std::int64_t kDefaultDailyGoal = 20;
inline constexpr std::int64_t kDefaultNewWordsPerSession = 8;
inline constexpr double kDefaultSpeechRate = 0.44;
inline constexpr double kMinimumSpeechRate = 0.30;
inline constexpr double kMaximumSpeechRate = 0.56;

struct Values {
    LearningLanguage selectedLanguage = LearningLanguage::chinese;
    bool hasCompletedOnboarding = false;
    std::int64_t startingBand = kDefaultStartingBand;
    std::int64_t dailyGoal = kDefaultDailyGoal;
    std::int64_t newWordsPerSession = kDefaultNewWordsPerSession;
    double speechRate = kDefaultSpeechRate;
    bool showReading = true;
    bool showTranslation = true;
    bool playAudioAutomatically = false;

    bool operator==(const Values&) const = default;
};

// 1 ... 6.
std::int64_t clampedStartingBand(std::int64_t value);
// 10, 20, 30, 50 or 100: the option nearest to `value` raised to 10 and lowered to 100; options
// are tried smallest first and a later one wins only when strictly nearer, so ties go down.
int clampedDailyGoal(std::int64_t value);
// 1 ... 20.
std::int64_t clampedNewWordsPerSession(std::int64_t value);
// A value that is not finite becomes 0.44; others are held within 0.30 ... 0.56.
double normalizedSpeechRate(double value);

// Every key with its default and rule applied; never fails.
Values read(const QSettings& settings);
// Writes the normalised band, goal, new-word count (as integers) and rate (as a number) so the
// store holds in-range values after every start.
void writeBack(QSettings& settings, const Values& values);

}  // namespace Preferences
}  // namespace tessel
