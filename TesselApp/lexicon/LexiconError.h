// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "Result.h"

namespace tessel {

// Why the lexicon could not answer; `description()` is the text shown to the learner.
struct LexiconError {
    enum class Kind { openFailed, queryFailed, missingBundledDatabase };

    Kind kind = Kind::queryFailed;
    std::string message;  // the database library's message; empty for missingBundledDatabase

    static LexiconError openFailed(std::string message) {
        return {Kind::openFailed, std::move(message)};
    }
    static LexiconError queryFailed(std::string message) {
        return {Kind::queryFailed, std::move(message)};
    }
    static LexiconError missingBundledDatabase() { return {Kind::missingBundledDatabase, {}}; }

    std::string description() const {
        switch (kind) {
            case Kind::openFailed:
                return "The local lexicon could not be opened: " + message;
            case Kind::queryFailed:
                return "The local lexicon query failed: " + message;
            case Kind::missingBundledDatabase:
                break;
        }
        return "The bundled Brindle lexicon could not be found. Reinstall the app.";
    }
    Error error() const { return Error{description()}; }
    tl::unexpected<Error> unexpected() const { return tl::unexpected<Error>(error()); }

    bool operator==(const LexiconError&) const = default;
};

}  // namespace tessel
