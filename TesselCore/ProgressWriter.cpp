// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <array>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include <nlohmann/json.hpp>

#include "ProgressJSON.h"
#include "Utf8.h"
#include "VectorState.h"

namespace tessel::ProgressJSON {

namespace {

constexpr std::string_view kCannotWrite =
    "The data couldn’t be written because it isn’t in the correct format: ";

// The progress file's writer. Its speed is the goal that a rating reaches the file within 250 ms
// with 100,000 cards (bench/app/learner, BM_EncodePretty in bench/core); tests/core/
// ProgressJSONTest.cpp holds its text to the JSON library's own printer, byte for byte.
//
// Writes the JSON text directly, byte for byte what nlohmann's dump(2) / dump() gives for the
// same tree: building the tree first costs more than the whole write for a large progress.
// Everything goes into one buffer through a cursor: each step makes room for its longest text
// first and then stores without further checks, where appending to a string checked and grew it
// for every few bytes (a heavy learner's file is millions of such steps).
class Writer {
  public:
    explicit Writer(bool pretty, std::size_t expectedSize) : m_pretty(pretty) {
        grow(std::max<std::size_t>(expectedSize, 64));
    }

    void beginObject() {
        room(1);
        put('{');
        ++m_depth;
        m_empty = true;
    }
    void endObject() {
        --m_depth;
        room(kNewlineRoom + 1);
        if (!m_empty) newline();
        put('}');
        m_empty = false;
    }
    // False when `name` is not valid UTF-8.
    [[nodiscard]] bool key(std::string_view name) {
        room(1 + kNewlineRoom);
        separate();
        if (!string(name)) return false;
        room(2);
        put(':');
        if (m_pretty) put(' ');
        return true;
    }
    // A field name of the format's own: plain ASCII with nothing to escape, so it is copied as
    // it stands (a heavy learner's file has over a million of them), its length known here.
    template <std::size_t N>
    void fieldKey(const char (&name)[N]) {
        room(1 + kNewlineRoom + N + 3);
        separate();
        put('"');
        put(name);
        put('"');
        put(':');
        if (m_pretty) put(' ');
    }
    // "2024-05-01T08:30:00Z" as formatInstant writes it, straight into the text.
    void date(Instant value) {
        room(34);
        put('"');
        m_size += formatInstantInto(value, m_text + m_size);
        put('"');
    }
    void integer(std::int64_t value) {
        room(24);
        m_size =
            std::size_t(std::to_chars(m_text + m_size, m_text + m_size + 24, value).ptr - m_text);
    }
    // False when `value` is not finite.
    [[nodiscard]] bool number(double value) {
        if (!std::isfinite(value)) return false;
        // The library's own shortest round-trip form ("2.0", "1e+20"), so both writers agree.
        room(64);
        m_size = std::size_t(
            nlohmann::detail::to_chars(m_text + m_size, m_text + m_size + 64, value) - m_text);
        return true;
    }
    // False when `text` is not valid UTF-8.
    [[nodiscard]] bool string(std::string_view text);

    std::string take() {
        m_out.resize(m_size);
        m_size = 0;
        return std::move(m_out);
    }
    // With a sink, hands what is written so far to it once it reaches a piece's size. False
    // when the sink refused it.
    [[nodiscard]] bool flushIfFull(const Sink* sink) {
        if (!sink || m_size < kPieceSize) return true;
        return flush(*sink);
    }
    [[nodiscard]] bool flush(const Sink& sink) {
        const bool taken = sink(std::string_view(m_text, m_size));
        m_size = 0;
        return taken;
    }
    static constexpr std::size_t kPieceSize = std::size_t{1} << 20;

  private:
    // A line break and the indentation of up to eight levels (the file has four), copied whole
    // and then cut to the current depth: a copy of fixed size is a couple of instructions.
    static constexpr char kNewline[] = "\n                ";
    static constexpr std::size_t kNewlineRoom = sizeof kNewline - 1;

    // Makes room for `count` more bytes.
    void room(std::size_t count) {
        if (m_out.size() - m_size < count) grow(std::max(m_out.size() * 2, m_size + count));
    }
    void grow(std::size_t size) {
        m_out.resize(size);
        m_text = m_out.data();
    }
    void put(char c) { m_text[m_size++] = c; }
    template <std::size_t N>
    void put(const char (&text)[N]) {
        std::memcpy(m_text + m_size, text, N - 1);
        m_size += N - 1;
    }
    void put(std::string_view text) {
        std::memcpy(m_text + m_size, text.data(), text.size());
        m_size += text.size();
    }
    // The comma before a member that is not the first, and its line. REQUIRES: room for
    // 1 + kNewlineRoom bytes.
    void separate() {
        if (!m_empty) put(',');
        m_empty = false;
        newline();
    }
    // REQUIRES: room for kNewlineRoom bytes.
    void newline() {
        if (!m_pretty) return;
        assert(1 + std::size_t(m_depth) * 2 <= kNewlineRoom);
        std::memcpy(m_text + m_size, kNewline, kNewlineRoom);
        m_size += 1 + std::size_t(m_depth) * 2;
    }

    // Sized to its capacity; the text is its first m_size bytes.
    std::string m_out;
    char* m_text = nullptr;
    std::size_t m_size = 0;
    bool m_pretty;
    int m_depth = 0;
    bool m_empty = true;
};

// True when one of the eight bytes of `bytes` may need more than copying: a control character,
// a quote, a backslash, or part of a multi-byte character. Exact when it says false.
constexpr bool needsALook(std::uint64_t bytes) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHigh = 0x8080808080808080;
    const auto below = [](std::uint64_t v, std::uint64_t n) {
        return (v - kOnes * n) & ~v & kHigh;
    };
    return (below(bytes, 0x20) | below(bytes ^ (kOnes * '"'), 1) |
            below(bytes ^ (kOnes * '\\'), 1) | (bytes & kHigh)) != 0;
}

bool Writer::string(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    // Every byte escaped ("\u0001") at worst, and the quotes.
    room(text.size() * 6 + 2);
    put('"');
    // Ids and day keys are plain ASCII: skipped eight bytes at a time up to the first that needs a
    // look of its own (every card has two ids).
    std::size_t start = 0;
    for (std::uint64_t bytes; start + 8 <= text.size(); start += 8) {
        std::memcpy(&bytes, text.data() + start, 8);
        if (needsALook(bytes)) break;
    }
    std::size_t runStart = 0;
    for (std::size_t i = start; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = utf8::decode(text, i).length;
            if (length == 0) return false;
            i += length;
            continue;
        }
        if (c >= 0x20 && c != '"' && c != '\\') {
            ++i;
            continue;
        }
        put(text.substr(runStart, i - runStart));
        switch (c) {
            case '"':
                put("\\\"");
                break;
            case '\\':
                put("\\\\");
                break;
            case '\b':
                put("\\b");
                break;
            case '\f':
                put("\\f");
                break;
            case '\n':
                put("\\n");
                break;
            case '\r':
                put("\\r");
                break;
            case '\t':
                put("\\t");
                break;
            default:
                put("\\u00");
                put(kHex[c >> 4]);
                put(kHex[c & 0xF]);
        }
        runStart = ++i;
    }
    put(text.substr(runStart));
    put('"');
    return true;
}

// Writes records, remembering where the first unwritable value sits.
class ProgressWriter {
  public:
    ProgressWriter(bool pretty, std::size_t expectedSize, const Sink* sink = nullptr)
        : m_writer(pretty, expectedSize), m_sink(sink) {}

    bool progress(const LearnerProgress& p);
    std::string take() { return m_writer.take(); }
    // Hands the rest to the sink. False when it refused it.
    bool finish() { return m_writer.flush(*m_sink); }
    const std::string& error() const { return m_error; }
    bool sinkRefused() const { return m_sinkRefused; }

  private:
    // Where a record sits ("cards" and its id, "dailyStatsByLanguage", "chinese" and the day):
    // joined only for an error message, so that writing a record builds no text for it.
    struct Path {
        std::string_view first = {};
        std::string_view second = {};
        std::string_view third = {};
        std::string joined() const {
            std::string text(first);
            for (std::string_view part : {second, third}) {
                if (part.empty()) continue;
                if (!text.empty()) text += '.';
                text += part;
            }
            return text;
        }
    };

    bool cards(const std::map<std::string, CardProgress>& cards);
    bool card(const std::string& key, const CardProgress& c);
    bool statsMap(const Path& path, const DailyStatsMap& map);
    bool stats(const Path& path, const DailyStudyStats& s);

    bool key(const Path& path, std::string_view name) {
        return m_writer.key(name) || invalid(path, name, "is not valid UTF-8");
    }
    template <std::size_t N>
    bool text(const Path& path, const char (&name)[N], std::string_view value) {
        m_writer.fieldKey(name);
        return m_writer.string(value) || invalid(path, name, "is not valid UTF-8");
    }
    template <std::size_t N>
    bool number(const Path& path, const char (&name)[N], double value) {
        m_writer.fieldKey(name);
        return m_writer.number(value) || invalid(path, name, "is not a finite number");
    }
    template <std::size_t N>
    bool integer(const char (&name)[N], std::int64_t value) {
        m_writer.fieldKey(name);
        m_writer.integer(value);
        return true;
    }
    template <std::size_t N>
    bool date(const char (&name)[N], Instant value) {
        m_writer.fieldKey(name);
        m_writer.date(value);
        return true;
    }
    bool invalid(const Path& where, std::string_view name, std::string_view problem) {
        if (m_error.empty()) {
            const std::string path = where.joined();
            // A key that is itself unprintable is named by its position only.
            std::string shown(name);
            for (std::size_t i = 0; i < shown.size(); ++i) {
                if (static_cast<unsigned char>(shown[i]) >= 0x80 &&
                    utf8::decode(shown, i).length == 0) {
                    shown = "(a key)";
                    break;
                }
            }
            m_error = std::string(kCannotWrite) + std::string(path) + (path.empty() ? "" : ".") +
                      shown + " " + std::string(problem);
        }
        return false;
    }

    bool flushIfFull() {
        if (m_writer.flushIfFull(m_sink)) return true;
        m_sinkRefused = true;
        return false;
    }

    Writer m_writer;
    const Sink* m_sink;
    std::string m_error;
    bool m_sinkRefused = false;
};

bool ProgressWriter::progress(const LearnerProgress& p) {
    m_writer.beginObject();
    m_writer.fieldKey("cards");
    m_writer.beginObject();
    if (!cards(p.cards)) return false;
    m_writer.endObject();

    m_writer.fieldKey("dailyStats");
    if (!statsMap({"dailyStats"}, p.dailyStats)) return false;

    m_writer.fieldKey("dailyStatsByLanguage");
    m_writer.beginObject();
    // Written in the order of their names, whatever the enumeration's order.
    std::map<std::string_view, const DailyStatsMap*> byName;
    for (const auto& [language, map] : p.dailyStatsByLanguage) byName[rawValue(language)] = &map;
    for (const auto& [name, map] : byName) {
        if (!key({"dailyStatsByLanguage"}, name) ||
            !statsMap({"dailyStatsByLanguage", name}, *map)) {
            return false;
        }
    }
    m_writer.endObject();

    integer("schemaVersion", std::max(p.schemaVersion, LearnerProgress::currentSchemaVersion));
    m_writer.fieldKey("unscopedDailyStats");
    if (!statsMap({"unscopedDailyStats"}, p.unscopedDailyStats)) return false;
    m_writer.endObject();
    return true;
}

bool ProgressWriter::cards(const std::map<std::string, CardProgress>& cards) {
    // Each card lives in three places (the map's node, its id, its item id), and walking the map
    // one node at a time leaves the processor waiting on memory for each of them. So the nodes
    // of a batch are found first, their memory asked for as they are found, and each card's
    // strings are asked for a few cards before it is written: about a tenth of a 100,000-card
    // save when the cards lie in key order (the saver's copy), more when they are scattered
    // (bench/app/learner).
    constexpr std::size_t kBatch = 64;
    constexpr std::size_t kAhead = 8;
    std::array<const std::pair<const std::string, CardProgress>*, kBatch> batch;
    for (auto it = cards.begin(); it != cards.end();) {
        std::size_t count = 0;
        for (; it != cards.end() && count < kBatch; ++it) {
            const auto* entry = &*it;
            const char* bytes = reinterpret_cast<const char*>(entry);
            for (std::size_t line = 0; line < sizeof *entry; line += 64) {
                __builtin_prefetch(bytes + line);
            }
            batch[count++] = entry;
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (i + kAhead < count) {
                __builtin_prefetch(batch[i + kAhead]->first.data());
                __builtin_prefetch(batch[i + kAhead]->second.itemID.data());
            }
            if (!card(batch[i]->first, batch[i]->second)) return false;
        }
    }
    return true;
}

bool ProgressWriter::card(const std::string& id, const CardProgress& c) {
    if (!key({"cards"}, id)) return false;
    const Path path{"cards", id};
    m_writer.beginObject();
    const bool ok =
        integer("consecutiveCorrect", c.consecutiveCorrect) &&
        integer("correctReviews", c.correctReviews) && number(path, "difficulty", c.difficulty) &&
        date("dueDate", c.dueDate) && integer("intervalDays", c.intervalDays) &&
        text(path, "itemID", c.itemID) && integer("lapseCount", c.lapseCount) &&
        (!c.lastRating || text(path, "lastRating", rawValue(*c.lastRating))) &&
        (!c.lastReviewedAt || date("lastReviewedAt", *c.lastReviewedAt)) &&
        number(path, "stabilityDays", c.stabilityDays) && integer("totalReviews", c.totalReviews);
    if (!ok) return false;
    m_writer.endObject();
    return flushIfFull();
}

bool ProgressWriter::statsMap(const Path& path, const DailyStatsMap& map) {
    m_writer.beginObject();
    for (const auto& [day, s] : map) {
        Path record = path;
        (record.second.empty() ? record.second : record.third) = day;
        if (!key(path, day) || !stats(record, s)) return false;
    }
    m_writer.endObject();
    return true;
}

bool ProgressWriter::stats(const Path& path, const DailyStudyStats& s) {
    m_writer.beginObject();
    const bool ok = integer("correctCount", s.correctCount) && text(path, "day", s.day) &&
                    integer("newCardsLearned", s.newCardsLearned) &&
                    integer("reviewedCount", s.reviewedCount) &&
                    integer("sessionsCompleted", s.sessionsCompleted) &&
                    number(path, "studySeconds", s.studySeconds);
    if (!ok) return false;
    m_writer.endObject();
    return flushIfFull();
}

}  // namespace

namespace {

constexpr std::string_view kNoMemory =
    "The data couldn’t be written because there is not enough memory.";

std::size_t expectedSize(const LearnerProgress& progress, bool prettyPrinted) {
    std::size_t records = progress.dailyStats.size() + progress.unscopedDailyStats.size();
    for (const auto& [language, map] : progress.dailyStatsByLanguage) records += map.size();
    const std::size_t expected = 256 + progress.cards.size() * 460 + records * 240;
    return prettyPrinted ? expected : expected * 3 / 4;
}

}  // namespace

Result<std::string> encode(const LearnerProgress& progress, bool prettyPrinted) {
    clearUpperVectorState();
    try {
        ProgressWriter writer(prettyPrinted, expectedSize(progress, prettyPrinted));
        if (!writer.progress(progress)) return fail(writer.error());
        return writer.take();
    } catch (const std::bad_alloc&) {
        return fail(std::string(kNoMemory));
    }
}

Result<void> encodeInPieces(const LearnerProgress& progress, bool prettyPrinted, const Sink& sink) {
    clearUpperVectorState();
    try {
        // A piece and the record that overflows it.
        ProgressWriter writer(prettyPrinted, Writer::kPieceSize + 4096, &sink);
        if (writer.progress(progress) && writer.finish()) return {};
        if (writer.sinkRefused() || writer.error().empty()) return fail(std::string());
        return fail(writer.error());
    } catch (const std::bad_alloc&) {
        return fail(std::string(kNoMemory));
    }
}

}  // namespace tessel::ProgressJSON
