// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Internal to the learning core: the event receiver behind ProgressJSON::decode.
//
// Why it reads parser events instead of a parsed document: the progress file is read at every
// start-up before the first card can be planned, and a heavy learner's file (10,000 cards and a
// year of daily figures in both languages) must load in tens of milliseconds without holding a
// second, document-sized copy in memory. Measured by bench/core/ProgressStoreBench.cpp
// (BM_Decode, BM_StoreLoad); tests/core/ProgressJSONTest.cpp holds its answers.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "Progress.h"

namespace tessel::ProgressJSON {

// The members of a progress file exactly as they were read, before the carry-over rules.
struct ProgressParts {
    std::optional<std::int64_t> schemaVersion;
    std::optional<std::map<std::string, CardProgress>> cards;
    std::optional<DailyStatsMap> dailyStats;
    std::optional<std::map<LearningLanguage, DailyStatsMap>> dailyStatsByLanguage;
    std::optional<DailyStatsMap> unscopedDailyStats;
    // Whether any of the members above appeared, even as null.
    bool hasProgressKey = false;
};

// Builds the parts straight from the JSON parser's events (nlohmann's SAX interface), so a file
// costs memory only for what it holds of a progress: unknown members are skipped, not stored,
// and nesting is refused beyond a depth before the parser descends further.
class ProgressReader {
  public:
    using string_t = nlohmann::json::string_t;

    explicit ProgressReader(int maxDepth) : m_maxDepth(std::size_t(maxDepth)) {}

    bool null();
    bool boolean(bool);
    bool number_integer(std::int64_t value);
    bool number_unsigned(std::uint64_t value);
    bool number_float(double value, const string_t&);
    bool string(string_t& value);
    bool binary(nlohmann::json::binary_t&);
    bool start_object(std::size_t);
    bool key(string_t& name);
    bool end_object();
    bool start_array(std::size_t);
    bool end_array();
    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& e);

    enum class ParserFailure { none, syntax, numberOutOfRange };
    // After a failed parse: a failure of the text itself with its byte offset, or `none` when
    // the text was JSON but no progress, with `error()` saying why.
    ParserFailure parserFailure() const { return m_parserFailure; }
    std::size_t errorPosition() const { return m_errorPosition; }
    const std::string& error() const { return m_error; }
    // After a successful parse: what was read.
    ProgressParts takeParts() { return std::move(m_parts); }

  private:
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
    enum class Type : std::uint8_t { integer, number, text, date, rating };
    enum class ScalarKind : std::uint8_t { null, boolean, integer, tooLarge, floating, text };

    struct Scalar {
        ScalarKind kind;
        std::int64_t integer = 0;
        double number = 0;
        string_t* text = nullptr;
    };
    // A validated value of one field; `absent` for null in an optional key.
    struct Value {
        bool absent = false;
        std::int64_t integer = 0;
        double number = 0;
        std::string text;
        Instant instant{};
        ReviewRating rating = ReviewRating::again;
    };
    struct Open {
        Frame frame;
        std::string name;
    };
    struct Field {
        std::string_view name;
        Type type;
        bool required;
    };
    static const std::array<Field, 11> kCardFields;
    static const std::array<Field, 6> kStatsFields;

    Slot slot() const;
    bool scalar(const Scalar& value);
    bool push(Frame frame);
    std::optional<Value> convert(Type type, const Scalar& scalar, bool required);
    void storeCardField(Value&& value);
    void storeStatsField(Value&& value);
    std::string path(std::string_view last) const;
    bool fail(std::string_view prefix, std::string_view last, std::string_view detail = {});
    bool typeError(std::string_view expected);
    static std::string_view describe(Type type);

    std::size_t m_maxDepth;
    std::vector<Open> m_frames;
    Slot m_slot = Slot::topValue;
    int m_field = 0;
    LearningLanguage m_language = LearningLanguage::chinese;
    std::string m_key;

    ProgressParts m_parts;
    CardProgress m_card;
    std::array<bool, 11> m_cardSeen{};
    DailyStudyStats m_stats;
    std::array<bool, 6> m_statsSeen{};
    DailyStatsMap* m_statsTarget = nullptr;

    std::string m_error;
    ParserFailure m_parserFailure = ParserFailure::none;
    std::size_t m_errorPosition = 0;
};

}  // namespace tessel::ProgressJSON
