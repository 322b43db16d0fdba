// What an operation that can fail tells its caller: that it succeeded, or why not in a
// message for the user. Every failure the editor core reports to its window, and every file
// write, comes back as one of these; there is no truth value to read the wrong way round.
#pragma once

#include <string>
#include <utility>

class [[nodiscard]] TOutcome {
public:
    static TOutcome Success() { return TOutcome(); }
    // A failure always carries a message; an empty one is given a general text.
    static TOutcome Failure(std::string message) {
        TOutcome o;
        o.HasFailed = true;
        o.Why = message.empty() ? "The operation failed." : std::move(message);
        return o;
    }

    bool Ok() const { return !HasFailed; }
    bool Failed() const { return HasFailed; }
    // The message for the user; empty on success.
    const std::string& Message() const { return Why; }

private:
    TOutcome() = default;
    bool HasFailed = false;
    std::string Why;
};
