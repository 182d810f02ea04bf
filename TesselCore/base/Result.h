// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <tl/expected.hpp>

namespace tessel {

// A failure the learner can be told about: `description` is the user-facing text.
struct Error {
    std::string description;
    bool operator==(const Error&) const = default;
};

template <class T>
using Result = tl::expected<T, Error>;

inline tl::unexpected<Error> fail(std::string description) {
    return tl::unexpected<Error>(Error{std::move(description)});
}

}  // namespace tessel
