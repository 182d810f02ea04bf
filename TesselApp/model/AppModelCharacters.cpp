// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppModel.h"
#include "HanCharacters.h"
#include "Records.h"

namespace tessel {

namespace {

// Enough words to show how a character is used without turning the panel into a second list.
constexpr std::int64_t kWordsWithCharacterLimit = 8;

std::string utf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

QStringList AppModel::charactersOf(const QString& term) const {
    return records::toQStringList(hanCharacters(utf8(term)));
}

QVariant AppModel::characterInfo(const QString& character, const QString& language) {
    const auto value = learningLanguageFromRawValue(utf8(language));
    if (!m_lexicon || !value) return {};
    auto found = m_lexicon->character(utf8(character), *value);
    if (!found) {
        setStartupError(QString::fromStdString(found.error().description));
        return {};
    }
    if (!*found) return {};
    return QVariant::fromValue(records::fromCore(**found));
}

QVariantList AppModel::wordsWithCharacter(const QString& character, const QString& language) {
    const auto value = learningLanguageFromRawValue(utf8(language));
    if (!m_lexicon || !value) return {};
    auto words = m_lexicon->wordsWithCharacter(utf8(character), *value, kWordsWithCharacterLimit);
    if (!words) {
        setStartupError(QString::fromStdString(words.error().description));
        return {};
    }
    return records::toVariantList(*words);
}

}  // namespace tessel
