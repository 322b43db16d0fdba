// When the editor writes its recovery copy: while the page has changes that are not on disk,
// a copy is due once the oldest change missing from it is an interval old, or at once when
// enough steps have gathered. A page that is clean again needs no copy at all.
// (IntervalMs is an upper bound on the work a crash can lose; writes also wait for the
// time their predecessor took, see Written.)
#pragma once

#include <cstdint>
#include <optional>

struct TRecoveryPolicy {
    int64_t IntervalMs = 30000;
    int Steps = 20;
};

class TRecoverySchedule {
public:
    enum class TAction { None, Write, Remove };

    explicit TRecoverySchedule(TRecoveryPolicy policy = {}) : Policy(policy) {}

    // The page took a step (a change, an undo or a redo) at nowMs.
    void Stepped(int64_t nowMs);
    // What is due at nowMs, for a page that differs from the one on disk (modified) or not.
    TAction Due(bool modified, int64_t nowMs) const;
    // The copy now holds the page as it is; writing it took tookMs up to nowMs. A copy that
    // is slow to write (a page of large photos) spaces the next one, so that the editor
    // spends at most a twentieth of its time on copies, whatever the steps say.
    void Written(int64_t nowMs = 0, int64_t tookMs = 0);
    // A write failed: the next attempt waits a whole interval, whatever the steps say.
    void WriteFailed(int64_t nowMs);
    // There is no copy any more (removed, or the page was saved).
    void Removed();
    // Milliseconds from nowMs until a write falls due; nothing when no change waits.
    std::optional<int64_t> WaitFrom(int64_t nowMs) const;

    bool HasCopy() const { return Copy; }
    bool HasPendingChanges() const { return OldestPendingMs.has_value(); }

private:
    TRecoveryPolicy Policy;
    std::optional<int64_t> OldestPendingMs;
    int PendingSteps = 0;
    int64_t NotBeforeMs = INT64_MIN; // after a failed write
    bool Copy = false;
};
