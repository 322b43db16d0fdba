// The names and contents of the recovery folder, without touching it. Each running editor owns
// the files of one id (its process id and start time): "page-PID-START.PST" (the recovery copy,
// a plain document), "page-PID-START.info" (who owns it and which document it stands for) and
// "page-PID-START.lock" (locked by the owner as long as it runs).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TRecoveryId {
    int64_t Pid = 0;
    int64_t StartedMs = 0; // wall-clock milliseconds when the owner started
    friend bool operator==(const TRecoveryId&, const TRecoveryId&) = default;
};

enum class TRecoveryPart { Copy, Info, Lock, Temporary };

// "page-PID-START" and the file name of each part. Temporary files are the safe writer's,
// ".page-PID-START.PST.XXXXXX" and the like.
std::string RecoveryBaseName(const TRecoveryId& id);
std::string RecoveryFileName(const TRecoveryId& id, TRecoveryPart part);

struct TRecoveryEntry {
    TRecoveryId Id;
    TRecoveryPart Part = TRecoveryPart::Copy;
};
// The id and part a file name of the folder stands for; nothing for any other name.
std::optional<TRecoveryEntry> ParseRecoveryFileName(std::string_view name);

// The info file: the owner and the path of the document the page came from or was last saved
// to (empty for a page never saved). The path may hold any byte but NUL.
struct TRecoveryInfo {
    TRecoveryId Owner;
    std::string DocumentPath;
};
std::string FormatRecoveryInfo(const TRecoveryInfo& info);
std::optional<TRecoveryInfo> ParseRecoveryInfo(std::string_view text);

// What start-up does with the folder: the copies to offer, in the order given by their ids
// (newest start first), and the ids whose owner is gone but left no copy (their files are
// only clutter). ownerGone is asked once for each id that is not self.
struct TRecoveryPlan {
    std::vector<TRecoveryId> Offer;
    std::vector<TRecoveryId> Clutter;
};
TRecoveryPlan PlanRecovery(const std::vector<std::string>& names, const TRecoveryId& self,
                           const std::function<bool(const TRecoveryId&)>& ownerGone);

// The recovery folder: $XDG_STATE_HOME/folioscriptor, else $HOME/.local/state/folioscriptor (a
// relative XDG_STATE_HOME is ignored, as the base directory rules say). Empty when neither
// gives an absolute path. Null stands for an unset variable.
std::string RecoveryFolder(const char* xdgStateHome, const char* home);
