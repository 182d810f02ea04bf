// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressReader.h"

#include <limits>

#include "ProgressJSON.h"

namespace tessel::ProgressJSON {

namespace {

constexpr std::string_view kMissing = "The data couldn’t be read because it is missing: ";
constexpr std::string_view kWrongFormat =
    "The data couldn’t be read because it isn’t in the correct format: ";

// Indexes of ProgressReader::kCardFields and kStatsFields.
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
enum class StatsKey {
    correctCount,
    day,
    newCardsLearned,
    reviewedCount,
    sessionsCompleted,
    studySeconds,
};

constexpr std::array<std::string_view, 5> kTopKeys = {"cards", "dailyStats", "dailyStatsByLanguage",
                                                      "schemaVersion", "unscopedDailyStats"};

template <class Fields>
int indexOf(const Fields& fields, std::string_view name) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name == name) return int(i);
    }
    return -1;
}

// Key names can be any length; an error message only needs to point at one.
std::string shortened(std::string_view key) {
    constexpr std::size_t kLimit = 60;
    if (key.size() <= kLimit) return std::string(key);
    std::size_t cut = kLimit;
    while (cut > 0 && (static_cast<unsigned char>(key[cut]) & 0xC0) == 0x80) --cut;
    return std::string(key.substr(0, cut)) + "…";
}

}  // namespace

// Sorted like the written file.
const std::array<ProgressReader::Field, 11> ProgressReader::kCardFields = {{
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

const std::array<ProgressReader::Field, 6> ProgressReader::kStatsFields = {{
    {"correctCount", Type::integer, true},
    {"day", Type::text, true},
    {"newCardsLearned", Type::integer, true},
    {"reviewedCount", Type::integer, true},
    {"sessionsCompleted", Type::integer, true},
    {"studySeconds", Type::number, true},
}};

std::string_view ProgressReader::describe(Type type) {
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

bool ProgressReader::null() {
    return scalar(Scalar{ScalarKind::null});
}

bool ProgressReader::boolean(bool) {
    return scalar(Scalar{ScalarKind::boolean});
}

bool ProgressReader::binary(nlohmann::json::binary_t&) {
    return scalar(Scalar{ScalarKind::boolean});
}

bool ProgressReader::number_integer(std::int64_t value) {
    Scalar s{ScalarKind::integer};
    s.integer = value;
    return scalar(s);
}

bool ProgressReader::number_unsigned(std::uint64_t value) {
    Scalar s{ScalarKind::integer};
    if (value > std::uint64_t(std::numeric_limits<std::int64_t>::max())) {
        s.kind = ScalarKind::tooLarge;
        s.number = double(value);
    } else {
        s.integer = std::int64_t(value);
    }
    return scalar(s);
}

bool ProgressReader::number_float(double value, const string_t&) {
    Scalar s{ScalarKind::floating};
    s.number = value;
    return scalar(s);
}

bool ProgressReader::string(string_t& value) {
    Scalar s{ScalarKind::text};
    s.text = &value;
    return scalar(s);
}

bool ProgressReader::end_array() {
    m_frames.pop_back();
    return true;
}

bool ProgressReader::parse_error(std::size_t position, const std::string&,
                                 const nlohmann::detail::exception& e) {
    if (m_error.empty()) {
        // 406: a number too large for a double ("1e400"); anything else is broken syntax.
        m_parserFailure = e.id == 406 ? ParserFailure::numberOutOfRange : ParserFailure::syntax;
        m_errorPosition = position;
    }
    return false;
}

ProgressReader::Slot ProgressReader::slot() const {
    return !m_frames.empty() && m_frames.back().frame == Frame::skipped ? Slot::skip : m_slot;
}

bool ProgressReader::typeError(std::string_view expected) {
    return fail(kWrongFormat, m_key, expected);
}

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
    if (m_frames.size() >= m_maxDepth) {
        m_error = std::string(kWrongFormat) + "objects and arrays are nested more than " +
                  std::to_string(m_maxDepth) + " levels deep";
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
            return isNull ? (m_parts.cards.reset(), true) : typeError("an object");
        case Slot::topDaily:
            return isNull ? (m_parts.dailyStats.reset(), true) : typeError("an object");
        case Slot::topUnscoped:
            return isNull ? (m_parts.unscopedDailyStats.reset(), true) : typeError("an object");
        case Slot::topByLanguage:
            return isNull ? (m_parts.dailyStatsByLanguage.reset(), true) : typeError("an object");
        case Slot::topVersion: {
            auto value = convert(Type::integer, scalar, false);
            if (!value) return false;
            m_parts.schemaVersion =
                value->absent ? std::nullopt : std::optional<std::int64_t>(value->integer);
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
            m_parts.cards.emplace();
            return push(Frame::cards);
        case Slot::topByLanguage:
            m_parts.dailyStatsByLanguage.emplace();
            return push(Frame::byLanguage);
        case Slot::topDaily:
            m_statsTarget = &m_parts.dailyStats.emplace();
            return push(Frame::statsMap);
        case Slot::topUnscoped:
            m_statsTarget = &m_parts.unscopedDailyStats.emplace();
            return push(Frame::statsMap);
        case Slot::languageEntry:
            m_statsTarget = &(*m_parts.dailyStatsByLanguage)[m_language];
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
                    m_parts.hasProgressKey = true;
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
        m_parts.cards->insert_or_assign(std::move(open.name), std::move(m_card));
    } else if (open.frame == Frame::stats) {
        for (std::size_t i = 0; i < kStatsFields.size(); ++i) {
            if (!m_statsSeen[i]) return fail(kMissing, kStatsFields[i].name);
        }
        m_statsTarget->insert_or_assign(std::move(open.name), std::move(m_stats));
    }
    m_frames.pop_back();
    return true;
}

}  // namespace tessel::ProgressJSON
