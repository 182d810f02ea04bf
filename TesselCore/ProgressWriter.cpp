// SPDX-License-Identifier: GPL-3.0-or-later
#include <charconv>
#include <cmath>
#include <cstdint>

#include <nlohmann/json.hpp>

#include "ProgressJSON.h"
#include "Utf8.h"

namespace tessel::ProgressJSON {

namespace {

constexpr std::string_view kCannotWrite =
    "The data couldn’t be written because it isn’t in the correct format: ";

// Writes the JSON text directly, byte for byte what nlohmann's dump(2) / dump() gives for the
// same tree: building the tree first costs more than the whole write for a large progress.
class Writer {
  public:
    explicit Writer(bool pretty, std::size_t expectedSize) : m_pretty(pretty) {
        m_out.reserve(expectedSize);
    }

    void beginObject() {
        m_out += '{';
        ++m_depth;
        m_empty = true;
    }
    void endObject() {
        --m_depth;
        if (!m_empty) newline();
        m_out += '}';
        m_empty = false;
    }
    // False when `name` is not valid UTF-8.
    [[nodiscard]] bool key(std::string_view name) {
        if (!m_empty) m_out += ',';
        m_empty = false;
        newline();
        if (!string(name)) return false;
        m_out += m_pretty ? ": " : ":";
        return true;
    }
    // A field name of the format's own: plain ASCII with nothing to escape, so it is copied as
    // it stands (a heavy learner's file has over a million of them).
    void fieldKey(std::string_view name) {
        if (!m_empty) m_out += ',';
        m_empty = false;
        newline();
        m_out += '"';
        m_out += name;
        m_out += m_pretty ? "\": " : "\":";
    }
    // "2024-05-01T08:30:00Z" as formatInstant writes it, without building a string for it.
    void date(Instant value) {
        char buffer[32];
        const std::size_t length = formatInstantInto(value, buffer);
        m_out += '"';
        m_out.append(buffer, length);
        m_out += '"';
    }
    void integer(std::int64_t value) {
        char buffer[24];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
        m_out.append(buffer, end);
    }
    // False when `value` is not finite.
    [[nodiscard]] bool number(double value) {
        if (!std::isfinite(value)) return false;
        // The library's own shortest round-trip form ("2.0", "1e+20"), so both writers agree.
        char buffer[64];
        const char* end = nlohmann::detail::to_chars(buffer, buffer + sizeof buffer, value);
        m_out.append(buffer, std::size_t(end - buffer));
        return true;
    }
    // False when `text` is not valid UTF-8.
    [[nodiscard]] bool string(std::string_view text);

    std::string take() { return std::move(m_out); }
    // With a sink, hands what is written so far to it once it reaches a piece's size. False
    // when the sink refused it.
    [[nodiscard]] bool flushIfFull(const Sink* sink) {
        if (!sink || m_out.size() < kPieceSize) return true;
        return flush(*sink);
    }
    [[nodiscard]] bool flush(const Sink& sink) {
        const bool taken = sink(m_out);
        m_out.clear();
        return taken;
    }
    static constexpr std::size_t kPieceSize = std::size_t{1} << 20;

  private:
    void newline() {
        if (!m_pretty) return;
        m_out += '\n';
        m_out.append(std::size_t(m_depth) * 2, ' ');
    }

    std::string m_out;
    bool m_pretty;
    int m_depth = 0;
    bool m_empty = true;
};

bool Writer::string(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    m_out += '"';
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < text.size();) {
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
        m_out.append(text.substr(runStart, i - runStart));
        switch (c) {
            case '"':
                m_out += "\\\"";
                break;
            case '\\':
                m_out += "\\\\";
                break;
            case '\b':
                m_out += "\\b";
                break;
            case '\f':
                m_out += "\\f";
                break;
            case '\n':
                m_out += "\\n";
                break;
            case '\r':
                m_out += "\\r";
                break;
            case '\t':
                m_out += "\\t";
                break;
            default:
                m_out += "\\u00";
                m_out += kHex[c >> 4];
                m_out += kHex[c & 0xF];
        }
        runStart = ++i;
    }
    m_out.append(text.substr(runStart));
    m_out += '"';
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

    bool card(const std::string& key, const CardProgress& c);
    bool statsMap(const Path& path, const DailyStatsMap& map);
    bool stats(const Path& path, const DailyStudyStats& s);

    bool key(const Path& path, std::string_view name) {
        return m_writer.key(name) || invalid(path, name, "is not valid UTF-8");
    }
    bool text(const Path& path, std::string_view name, std::string_view value) {
        m_writer.fieldKey(name);
        return m_writer.string(value) || invalid(path, name, "is not valid UTF-8");
    }
    bool number(const Path& path, std::string_view name, double value) {
        m_writer.fieldKey(name);
        return m_writer.number(value) || invalid(path, name, "is not a finite number");
    }
    bool integer(std::string_view name, std::int64_t value) {
        m_writer.fieldKey(name);
        m_writer.integer(value);
        return true;
    }
    bool date(std::string_view name, Instant value) {
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
    for (const auto& [id, c] : p.cards) {
        if (!card(id, c)) return false;
    }
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
    try {
        ProgressWriter writer(prettyPrinted, expectedSize(progress, prettyPrinted));
        if (!writer.progress(progress)) return fail(writer.error());
        return writer.take();
    } catch (const std::bad_alloc&) {
        return fail(std::string(kNoMemory));
    }
}

Result<void> encodeInPieces(const LearnerProgress& progress, bool prettyPrinted, const Sink& sink) {
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
