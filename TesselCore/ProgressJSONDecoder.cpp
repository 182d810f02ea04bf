#include <array>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

#include <nlohmann/json.hpp>

#include "ProgressJSON.h"

namespace tessel::ProgressJSON {

namespace {

using json = nlohmann::json;

constexpr std::string_view kMissing = "The data couldn’t be read because it is missing: ";
constexpr std::string_view kWrongFormat =
    "The data couldn’t be read because it isn’t in the correct format: ";

enum class Type : std::uint8_t { integer, number, text, date, rating };

struct Field {
    std::string_view name;
    Type type;
    bool required;
};

// Both lists are sorted like the written file and indexed by the enumeration beside them.
enum class CardKey {
    consecutiveCorrect,
    correctReviews,
    difficulty,
    dueDate,
    intervalDays,
    itemID,
    lapseCount,
    lastRating,
    lastReviewedAt,
    stabilityDays,
    totalReviews,
};
constexpr std::array<Field, 11> kCardFields = {{
    {"consecutiveCorrect", Type::integer, true},
    {"correctReviews", Type::integer, true},
    {"difficulty", Type::number, true},
    {"dueDate", Type::date, true},
    {"intervalDays", Type::integer, true},
    {"itemID", Type::text, true},
    {"lapseCount", Type::integer, true},
    {"lastRating", Type::rating, false},
    {"lastReviewedAt", Type::date, false},
    {"stabilityDays", Type::number, true},
    {"totalReviews", Type::integer, true},
}};

enum class StatsKey {
    correctCount,
    day,
    newCardsLearned,
    reviewedCount,
    sessionsCompleted,
    studySeconds,
};
constexpr std::array<Field, 6> kStatsFields = {{
    {"correctCount", Type::integer, true},
    {"day", Type::text, true},
    {"newCardsLearned", Type::integer, true},
    {"reviewedCount", Type::integer, true},
    {"sessionsCompleted", Type::integer, true},
    {"studySeconds", Type::number, true},
}};

constexpr std::array<std::string_view, 5> kTopKeys = {"cards", "dailyStats", "dailyStatsByLanguage",
                                                      "schemaVersion", "unscopedDailyStats"};

template <std::size_t N>
int indexOf(const std::array<Field, N>& fields, std::string_view name) {
    for (std::size_t i = 0; i < N; ++i) {
        if (fields[i].name == name) return int(i);
    }
    return -1;
}

enum class ScalarKind : std::uint8_t { null, boolean, integer, tooLarge, floating, text };

// What an object opened at this point of the file holds.
enum class Frame : std::uint8_t { top, cards, card, byLanguage, statsMap, stats, skipped };

// What the value after the latest key is.
enum class Slot : std::uint8_t {
    topValue,
    skip,
    topCards,
    topDaily,
    topByLanguage,
    topVersion,
    topUnscoped,
    cardEntry,
    cardField,
    languageEntry,
    statsEntry,
    statsField,
};

std::string_view describe(Type type) {
    switch (type) {
        case Type::integer:
            return "a whole number";
        case Type::number:
            return "a number";
        case Type::text:
            return "a string";
        case Type::date:
            return "a date like 2024-05-01T08:30:00Z";
        case Type::rating:
            return "one of again, hard, good, easy";
    }
    return "a value";
}

// Key names can be any length; an error message only needs to point at one.
std::string shortened(const std::string& key) {
    constexpr std::size_t kLimit = 60;
    if (key.size() <= kLimit) return key;
    std::size_t cut = kLimit;
    while (cut > 0 && (static_cast<unsigned char>(key[cut]) & 0xC0) == 0x80) --cut;
    return key.substr(0, cut) + "…";
}

// Builds the progress straight from the parser's events, so a file costs memory only for what
// it holds of a progress: unknown members are skipped, not stored, and nesting is bounded before
// the parser descends further.
class ProgressReader {
  public:
    using string_t = json::string_t;

    bool null() { return scalar(Scalar{ScalarKind::null}); }
    bool boolean(bool) { return scalar(Scalar{ScalarKind::boolean}); }
    bool number_integer(std::int64_t value) {
        Scalar s{ScalarKind::integer};
        s.integer = value;
        return scalar(s);
    }
    bool number_unsigned(std::uint64_t value) {
        Scalar s{ScalarKind::integer};
        if (value > std::uint64_t(std::numeric_limits<std::int64_t>::max())) {
            s.kind = ScalarKind::tooLarge;
            s.number = double(value);
        } else {
            s.integer = std::int64_t(value);
        }
        return scalar(s);
    }
    bool number_float(double value, const string_t&) {
        Scalar s{ScalarKind::floating};
        s.number = value;
        return scalar(s);
    }
    bool string(string_t& value) {
        Scalar s{ScalarKind::text};
        s.text = &value;
        return scalar(s);
    }
    bool binary(json::binary_t&) { return scalar(Scalar{ScalarKind::boolean}); }

    bool start_object(std::size_t);
    bool key(string_t& name);
    bool end_object();
    bool start_array(std::size_t);
    bool end_array() {
        m_frames.pop_back();
        return true;
    }
    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& e) {
        if (m_error.empty()) {
            m_parserFailure = e.id == 406 ? ParserFailure::numberOutOfRange : ParserFailure::syntax;
            m_errorPosition = position;
        }
        return false;
    }

    enum class ParserFailure { none, syntax, numberOutOfRange };
    // After a failed parse: the text's own failure with its byte position, or else `error()`.
    ParserFailure parserFailure() const { return m_parserFailure; }
    std::size_t errorPosition() const { return m_errorPosition; }
    const std::string& error() const { return m_error; }
    LearnerProgress result();

  private:
    struct Scalar {
        ScalarKind kind;
        std::int64_t integer = 0;
        double number = 0;
        string_t* text = nullptr;
    };
    struct Open {
        Frame frame;
        std::string name;
    };

    Slot slot() const {
        return !m_frames.empty() && m_frames.back().frame == Frame::skipped ? Slot::skip : m_slot;
    }
    bool scalar(const Scalar& value);
    bool push(Frame frame);
    // A validated value of one field; `absent` for null in an optional key.
    struct Value {
        bool absent = false;
        std::int64_t integer = 0;
        double number = 0;
        std::string text;
        Instant instant{};
        ReviewRating rating = ReviewRating::again;
    };
    std::optional<Value> convert(Type type, const Scalar& scalar, bool required);
    void storeCardField(Value&& value);
    void storeStatsField(Value&& value);
    std::string path(std::string_view last) const;
    bool fail(std::string_view prefix, std::string_view last, std::string_view detail = {});
    bool typeError(std::string_view expected) { return fail(kWrongFormat, m_key, expected); }

    std::vector<Open> m_frames;
    Slot m_slot = Slot::topValue;
    int m_field = 0;
    LearningLanguage m_language = LearningLanguage::chinese;
    std::string m_key;

    std::optional<std::int64_t> m_version;
    std::optional<std::map<std::string, CardProgress>> m_cards;
    std::optional<DailyStatsMap> m_daily;
    std::optional<std::map<LearningLanguage, DailyStatsMap>> m_byLanguage;
    std::optional<DailyStatsMap> m_unscoped;

    CardProgress m_card;
    std::array<bool, kCardFields.size()> m_cardSeen{};
    DailyStudyStats m_stats;
    std::array<bool, kStatsFields.size()> m_statsSeen{};
    DailyStatsMap* m_statsTarget = nullptr;

    std::string m_error;
    ParserFailure m_parserFailure = ParserFailure::none;
    std::size_t m_errorPosition = 0;
};

std::string ProgressReader::path(std::string_view last) const {
    std::string out;
    for (std::size_t i = 1; i < m_frames.size(); ++i) {
        out += shortened(m_frames[i].name);
        out += '.';
    }
    out += shortened(std::string(last));
    return out;
}

bool ProgressReader::fail(std::string_view prefix, std::string_view last, std::string_view detail) {
    m_error = prefix;
    if (m_frames.empty() || (m_frames.size() == 1 && last.empty())) {
        m_error += "the top level";
    } else {
        m_error += path(last);
    }
    if (!detail.empty()) {
        m_error += " should be ";
        m_error += detail;
    }
    return false;
}

bool ProgressReader::push(Frame frame) {
    if (m_frames.size() >= std::size_t(kMaxNestingDepth)) {
        m_error = std::string(kWrongFormat) + "objects and arrays are nested more than " +
                  std::to_string(kMaxNestingDepth) + " levels deep";
        return false;
    }
    m_frames.push_back(Open{frame, frame == Frame::skipped ? std::string() : std::move(m_key)});
    return true;
}

std::optional<ProgressReader::Value> ProgressReader::convert(Type type, const Scalar& scalar,
                                                             bool required) {
    Value value;
    if (scalar.kind == ScalarKind::null) {
        // Null is "absent": fatal for a required key, a reset for an optional one.
        if (required) return fail(kMissing, m_key), std::nullopt;
        value.absent = true;
        return value;
    }
    const auto wrong = [&](std::string_view expected) {
        typeError(expected);
        return std::nullopt;
    };
    switch (type) {
        case Type::integer:
            if (scalar.kind == ScalarKind::tooLarge) return wrong("a whole number within 64 bits");
            if (scalar.kind != ScalarKind::integer) return wrong(describe(type));
            value.integer = scalar.integer;
            break;
        case Type::number:
            if (scalar.kind == ScalarKind::integer) {
                value.number = double(scalar.integer);
            } else if (scalar.kind == ScalarKind::tooLarge || scalar.kind == ScalarKind::floating) {
                value.number = scalar.number;
            } else {
                return wrong(describe(type));
            }
            break;
        case Type::text:
            if (scalar.kind != ScalarKind::text) return wrong(describe(type));
            value.text = std::move(*scalar.text);
            break;
        case Type::date: {
            if (scalar.kind != ScalarKind::text) return wrong(describe(type));
            const auto instant = parseInstant(*scalar.text);
            if (!instant) return wrong(describe(type));
            value.instant = *instant;
            break;
        }
        case Type::rating: {
            if (scalar.kind != ScalarKind::text) return wrong(describe(type));
            const auto rating = reviewRatingFromRawValue(*scalar.text);
            if (!rating) return wrong(describe(type));
            value.rating = *rating;
            break;
        }
    }
    return value;
}

void ProgressReader::storeCardField(Value&& v) {
    CardProgress& c = m_card;
    switch (CardKey(m_field)) {
        case CardKey::consecutiveCorrect:
            c.consecutiveCorrect = v.integer;
            break;
        case CardKey::correctReviews:
            c.correctReviews = v.integer;
            break;
        case CardKey::difficulty:
            c.difficulty = v.number;
            break;
        case CardKey::dueDate:
            c.dueDate = v.instant;
            break;
        case CardKey::intervalDays:
            c.intervalDays = v.integer;
            break;
        case CardKey::itemID:
            c.itemID = std::move(v.text);
            break;
        case CardKey::lapseCount:
            c.lapseCount = v.integer;
            break;
        case CardKey::lastRating:
            c.lastRating = v.absent ? std::nullopt : std::optional<ReviewRating>(v.rating);
            break;
        case CardKey::lastReviewedAt:
            c.lastReviewedAt = v.absent ? std::nullopt : std::optional<Instant>(v.instant);
            break;
        case CardKey::stabilityDays:
            c.stabilityDays = v.number;
            break;
        case CardKey::totalReviews:
            c.totalReviews = v.integer;
            break;
    }
    m_cardSeen[std::size_t(m_field)] = !v.absent;
}

void ProgressReader::storeStatsField(Value&& v) {
    DailyStudyStats& s = m_stats;
    switch (StatsKey(m_field)) {
        case StatsKey::correctCount:
            s.correctCount = v.integer;
            break;
        case StatsKey::day:
            s.day = std::move(v.text);
            break;
        case StatsKey::newCardsLearned:
            s.newCardsLearned = v.integer;
            break;
        case StatsKey::reviewedCount:
            s.reviewedCount = v.integer;
            break;
        case StatsKey::sessionsCompleted:
            s.sessionsCompleted = v.integer;
            break;
        case StatsKey::studySeconds:
            s.studySeconds = v.number;
            break;
    }
    m_statsSeen[std::size_t(m_field)] = true;
}

bool ProgressReader::scalar(const Scalar& scalar) {
    const bool isNull = scalar.kind == ScalarKind::null;
    switch (slot()) {
        case Slot::skip:
            return true;
        case Slot::topValue:
            return fail(kWrongFormat, {}, "an object");
        case Slot::topCards:
            return isNull ? (m_cards.reset(), true) : typeError("an object");
        case Slot::topDaily:
            return isNull ? (m_daily.reset(), true) : typeError("an object");
        case Slot::topUnscoped:
            return isNull ? (m_unscoped.reset(), true) : typeError("an object");
        case Slot::topByLanguage:
            return isNull ? (m_byLanguage.reset(), true) : typeError("an object");
        case Slot::topVersion: {
            auto value = convert(Type::integer, scalar, false);
            if (!value) return false;
            m_version = value->absent ? std::nullopt : std::optional<std::int64_t>(value->integer);
            return true;
        }
        case Slot::cardEntry:
        case Slot::languageEntry:
        case Slot::statsEntry:
            return typeError("an object");
        case Slot::cardField: {
            const Field& field = kCardFields[std::size_t(m_field)];
            auto value = convert(field.type, scalar, field.required);
            if (!value) return false;
            storeCardField(std::move(*value));
            return true;
        }
        case Slot::statsField: {
            auto value = convert(kStatsFields[std::size_t(m_field)].type, scalar, true);
            if (!value) return false;
            storeStatsField(std::move(*value));
            return true;
        }
    }
    return true;
}

bool ProgressReader::start_object(std::size_t) {
    switch (slot()) {
        case Slot::skip:
            return push(Frame::skipped);
        case Slot::topValue:
            return push(Frame::top);
        case Slot::topCards:
            m_cards.emplace();
            return push(Frame::cards);
        case Slot::topByLanguage:
            m_byLanguage.emplace();
            return push(Frame::byLanguage);
        case Slot::topDaily:
            m_statsTarget = &m_daily.emplace();
            return push(Frame::statsMap);
        case Slot::topUnscoped:
            m_statsTarget = &m_unscoped.emplace();
            return push(Frame::statsMap);
        case Slot::languageEntry:
            m_statsTarget = &(*m_byLanguage)[m_language];
            m_statsTarget->clear();
            return push(Frame::statsMap);
        case Slot::cardEntry:
            m_card = CardProgress{};
            m_cardSeen.fill(false);
            return push(Frame::card);
        case Slot::statsEntry:
            m_stats = DailyStudyStats{};
            m_statsSeen.fill(false);
            return push(Frame::stats);
        case Slot::topVersion:
            return typeError(describe(Type::integer));
        case Slot::cardField:
            return typeError(describe(kCardFields[std::size_t(m_field)].type));
        case Slot::statsField:
            return typeError(describe(kStatsFields[std::size_t(m_field)].type));
    }
    return false;
}

bool ProgressReader::start_array(std::size_t) {
    switch (slot()) {
        case Slot::skip:
            return push(Frame::skipped);
        case Slot::topValue:
            return fail(kWrongFormat, {}, "an object");
        case Slot::topVersion:
            return typeError(describe(Type::integer));
        case Slot::cardField:
            return typeError(describe(kCardFields[std::size_t(m_field)].type));
        case Slot::statsField:
            return typeError(describe(kStatsFields[std::size_t(m_field)].type));
        default:
            return typeError("an object");
    }
}

bool ProgressReader::key(string_t& name) {
    m_key.swap(name);
    m_slot = Slot::skip;
    switch (m_frames.back().frame) {
        case Frame::top:
            for (std::size_t i = 0; i < kTopKeys.size(); ++i) {
                if (m_key == kTopKeys[i]) {
                    constexpr Slot slots[] = {Slot::topCards, Slot::topDaily, Slot::topByLanguage,
                                              Slot::topVersion, Slot::topUnscoped};
                    m_slot = slots[i];
                }
            }
            break;
        case Frame::cards:
            m_slot = Slot::cardEntry;
            break;
        case Frame::statsMap:
            m_slot = Slot::statsEntry;
            break;
        case Frame::byLanguage:
            if (const auto language = learningLanguageFromRawValue(m_key)) {
                m_language = *language;
                m_slot = Slot::languageEntry;
            }
            break;
        case Frame::card:
            m_field = indexOf(kCardFields, m_key);
            if (m_field >= 0) m_slot = Slot::cardField;
            break;
        case Frame::stats:
            m_field = indexOf(kStatsFields, m_key);
            if (m_field >= 0) m_slot = Slot::statsField;
            break;
        case Frame::skipped:
            break;
    }
    return true;
}

bool ProgressReader::end_object() {
    Open& open = m_frames.back();
    if (open.frame == Frame::card) {
        for (std::size_t i = 0; i < kCardFields.size(); ++i) {
            if (kCardFields[i].required && !m_cardSeen[i]) {
                return fail(kMissing, kCardFields[i].name);
            }
        }
        m_cards->insert_or_assign(std::move(open.name), std::move(m_card));
    } else if (open.frame == Frame::stats) {
        for (std::size_t i = 0; i < kStatsFields.size(); ++i) {
            if (!m_statsSeen[i]) return fail(kMissing, kStatsFields[i].name);
        }
        m_statsTarget->insert_or_assign(std::move(open.name), std::move(m_stats));
    }
    m_frames.pop_back();
    return true;
}

LearnerProgress ProgressReader::result() {
    const std::int64_t version = m_version.value_or(1);
    auto byLanguage = m_byLanguage.value_or(std::map<LearningLanguage, DailyStatsMap>{});
    DailyStatsMap unscoped;
    if (m_unscoped) {
        unscoped = std::move(*m_unscoped);
    } else if (version <= 1 && m_daily) {
        // Schema 1 kept no languages apart, so its statistics count for both languages.
        unscoped = *m_daily;
    }
    DailyStatsMap daily;
    if (m_daily) {
        daily = std::move(*m_daily);
    } else {
        daily = unscoped;
        for (const auto& [language, stats] : byLanguage) LearnerProgress::merge(stats, daily);
    }
    return LearnerProgress(version,
                           m_cards ? std::move(*m_cards) : std::map<std::string, CardProgress>{},
                           std::move(daily), std::move(byLanguage), std::move(unscoped));
}

}  // namespace

Result<LearnerProgress> decode(std::string_view text) {
    try {
        ProgressReader reader;
        if (json::sax_parse(text.begin(), text.end(), &reader)) return reader.result();
        if (reader.parserFailure() == ProgressReader::ParserFailure::none) {
            return fail(reader.error());
        }

        const std::size_t position = std::min(reader.errorPosition(), text.size());
        std::size_t line = 1;
        std::size_t lineStart = 0;
        for (std::size_t i = 0; i < position; ++i) {
            if (text[i] == '\n') {
                ++line;
                lineStart = i + 1;
            }
        }
        const std::string where = " (line " + std::to_string(line) + ", column " +
                                  std::to_string(position - lineStart + 1) + ")";
        if (reader.parserFailure() == ProgressReader::ParserFailure::numberOutOfRange) {
            return fail(std::string(kWrongFormat) + "a number is out of range" + where);
        }
        return fail("The data couldn’t be read because it isn’t valid JSON" + where);
    } catch (const std::bad_alloc&) {
        return fail("The data couldn’t be read because there is not enough memory.");
    } catch (const std::exception& e) {
        return fail(std::string("The data couldn’t be read: ") + e.what());
    }
}

}  // namespace tessel::ProgressJSON
