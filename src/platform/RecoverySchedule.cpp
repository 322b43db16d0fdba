#include "platform/RecoverySchedule.h"

#include <algorithm>

void TRecoverySchedule::Stepped(int64_t nowMs) {
    if (!OldestPendingMs) OldestPendingMs = nowMs;
    ++PendingSteps;
}

TRecoverySchedule::TAction TRecoverySchedule::Due(bool modified, int64_t nowMs) const {
    if (!modified) return Copy ? TAction::Remove : TAction::None;
    if (!OldestPendingMs || nowMs < NotBeforeMs) return TAction::None;
    if (PendingSteps >= Policy.Steps) return TAction::Write;
    return nowMs - *OldestPendingMs >= Policy.IntervalMs ? TAction::Write : TAction::None;
}

void TRecoverySchedule::Written(int64_t nowMs, int64_t tookMs) {
    NotBeforeMs = tookMs > 0 ? nowMs + 19 * tookMs : INT64_MIN;
    OldestPendingMs.reset();
    PendingSteps = 0;
    Copy = true;
}

void TRecoverySchedule::WriteFailed(int64_t nowMs) {
    if (!OldestPendingMs) OldestPendingMs = nowMs;
    NotBeforeMs = nowMs + Policy.IntervalMs;
}

void TRecoverySchedule::Removed() {
    NotBeforeMs = INT64_MIN;
    OldestPendingMs.reset();
    PendingSteps = 0;
    Copy = false;
}

std::optional<int64_t> TRecoverySchedule::WaitFrom(int64_t nowMs) const {
    if (!OldestPendingMs) return std::nullopt;
    const int64_t due = PendingSteps >= Policy.Steps ? nowMs : *OldestPendingMs + Policy.IntervalMs;
    return std::max<int64_t>(0, std::max(due, NotBeforeMs) - nowMs);
}
