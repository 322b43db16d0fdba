#include "QtTool.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

// Where this program runs from: the tool sits beside it in the build tree, and in the
// installed tree under libexec (FS_QT_TOOL_FROM_BINDIR, relative to the programs' folder).
std::vector<std::filesystem::path> ToolCandidates() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    const std::filesystem::path dir = self.parent_path();
    return {dir / FS_QT_TOOL_NAME,
            (dir / FS_QT_TOOL_FROM_BINDIR / FS_QT_TOOL_NAME).lexically_normal()};
}

} // namespace

int RunInQtTool(int argc, char** argv) {
    const std::vector<std::filesystem::path> candidates = ToolCandidates();
    std::vector<char*> args;
    args.reserve(static_cast<size_t>(argc) + 2);
    std::string tried;
    for (const std::filesystem::path& tool : candidates) {
        std::string path = tool.string();
        if (access(path.c_str(), X_OK) != 0) {
            tried += (tried.empty() ? "" : ", ") + path;
            continue;
        }
        args.assign(1, path.data());
        args.insert(args.end(), argv, argv + argc);
        args.push_back(nullptr);
        std::fflush(nullptr);
        execv(path.c_str(), args.data());
        std::fprintf(stderr, "folioscriptor-cli: cannot run %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return 1;
    }
    std::fprintf(stderr,
                 "folioscriptor-cli: the %s command needs %s, which is not installed (looked "
                 "for %s)\n",
                 argc > 0 ? argv[0] : "", FS_QT_TOOL_NAME,
                 tried.empty() ? "nothing" : tried.c_str());
    return 1;
}
