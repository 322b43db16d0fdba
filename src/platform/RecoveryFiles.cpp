#include "platform/RecoveryFiles.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace {

constexpr std::string_view kPrefix = "page-";

const char* ExtensionOf(TRecoveryPart part) {
    switch (part) {
    case TRecoveryPart::Copy: return ".PST";
    case TRecoveryPart::Info: return ".info";
    case TRecoveryPart::Lock: return ".lock";
    case TRecoveryPart::Temporary: break;
    }
    return "";
}

// A whole non-negative decimal number without sign or leading zeros.
std::optional<int64_t> ParseNumber(std::string_view s) {
    if (s.empty() || (s.size() > 1 && s[0] == '0')) return std::nullopt;
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || value < 0) return std::nullopt;
    return value;
}

// "page-PID-START" at the start of name; the id and the rest.
std::optional<std::pair<TRecoveryId, std::string_view>> ParseBase(std::string_view name) {
    if (name.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
    name.remove_prefix(kPrefix.size());
    const size_t dash = name.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const size_t dot = name.find('.', dash);
    if (dot == std::string_view::npos) return std::nullopt;
    const auto pid = ParseNumber(name.substr(0, dash));
    const auto started = ParseNumber(name.substr(dash + 1, dot - dash - 1));
    if (!pid || !started || *pid == 0) return std::nullopt;
    return std::pair{TRecoveryId{*pid, *started}, name.substr(dot)};
}

std::string Escape(std::string_view s) {
    std::string out;
    for (const char c : s) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> Unescape(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        if (++i == s.size()) return std::nullopt;
        if (s[i] == '\\') {
            out += '\\';
        } else if (s[i] == 'n') {
            out += '\n';
        } else {
            return std::nullopt;
        }
    }
    return out;
}

constexpr std::string_view kInfoHeader = "folioscriptor recovery 1";

} // namespace

std::string RecoveryBaseName(const TRecoveryId& id) {
    return std::string(kPrefix) + std::to_string(id.Pid) + "-" + std::to_string(id.StartedMs);
}

std::string RecoveryFileName(const TRecoveryId& id, TRecoveryPart part) {
    if (part == TRecoveryPart::Temporary) return "." + RecoveryBaseName(id) + ".PST.XXXXXX";
    return RecoveryBaseName(id) + ExtensionOf(part);
}

std::optional<TRecoveryEntry> ParseRecoveryFileName(std::string_view name) {
    if (!name.empty() && name[0] == '.') {
        // The safe writer's temporary file: ".NAME.XXXXXX" for one of our names.
        const auto base = ParseBase(name.substr(1));
        if (!base || base->second.size() <= 1) return std::nullopt;
        return TRecoveryEntry{base->first, TRecoveryPart::Temporary};
    }
    const auto base = ParseBase(name);
    if (!base) return std::nullopt;
    for (const TRecoveryPart part : {TRecoveryPart::Copy, TRecoveryPart::Info, TRecoveryPart::Lock})
        if (base->second == ExtensionOf(part)) return TRecoveryEntry{base->first, part};
    return std::nullopt;
}

std::string FormatRecoveryInfo(const TRecoveryInfo& info) {
    return std::string(kInfoHeader) + "\npid " + std::to_string(info.Owner.Pid) + "\nstarted " +
           std::to_string(info.Owner.StartedMs) + "\ndocument " + Escape(info.DocumentPath) + "\n";
}

std::optional<TRecoveryInfo> ParseRecoveryInfo(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        if (nl == std::string_view::npos) return std::nullopt; // cut short
        lines.push_back(text.substr(0, nl));
        text.remove_prefix(nl + 1);
    }
    if (lines.size() != 4 || lines[0] != kInfoHeader) return std::nullopt;
    auto field = [&](size_t i, std::string_view key) -> std::optional<std::string_view> {
        if (lines[i].substr(0, key.size() + 1) != std::string(key) + " ") return std::nullopt;
        return lines[i].substr(key.size() + 1);
    };
    const auto pid = field(1, "pid");
    const auto started = field(2, "started");
    const auto document = field(3, "document");
    if (!pid || !started || !document) return std::nullopt;
    TRecoveryInfo info;
    const auto p = ParseNumber(*pid);
    const auto s = ParseNumber(*started);
    auto path = Unescape(*document);
    if (!p || !s || !path) return std::nullopt;
    info.Owner = {*p, *s};
    info.DocumentPath = std::move(*path);
    return info;
}

TRecoveryPlan PlanRecovery(const std::vector<std::string>& names, const TRecoveryId& self,
                           const std::function<bool(const TRecoveryId&)>& ownerGone) {
    // Per id: whether a copy is there.
    std::map<std::pair<int64_t, int64_t>, bool> ids;
    for (const std::string& name : names) {
        const auto entry = ParseRecoveryFileName(name);
        if (!entry || entry->Id == self) continue;
        bool& copy = ids[{entry->Id.Pid, entry->Id.StartedMs}];
        copy = copy || entry->Part == TRecoveryPart::Copy;
    }
    TRecoveryPlan plan;
    for (const auto& [key, copy] : ids) {
        const TRecoveryId id{key.first, key.second};
        if (!ownerGone(id)) continue;
        (copy ? plan.Offer : plan.Clutter).push_back(id);
    }
    std::stable_sort(
        plan.Offer.begin(), plan.Offer.end(),
        [](const TRecoveryId& a, const TRecoveryId& b) { return a.StartedMs > b.StartedMs; });
    return plan;
}

std::string RecoveryFolder(const char* xdgStateHome, const char* home) {
    if (xdgStateHome && xdgStateHome[0] == '/') return std::string(xdgStateHome) + "/folioscriptor";
    if (home && home[0] == '/') return std::string(home) + "/.local/state/folioscriptor";
    return {};
}
