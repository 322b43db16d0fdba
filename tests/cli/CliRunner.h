// Runs folioscriptor-cli (or a helper tool) as a separate process through the shell and
// collects its exit status, standard output and error output, for the command-line tests.
// A fixture with a temporary folder of its own for the files a test hands to the tool.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

#include "support/TempDir.h"

struct TCliRun {
    int Status = -1; // the exit status; -1 when the process did not exit normally
    std::string Out;
    std::string Err;
};

// Runs a shell command line. Its output is collected in a folder of its own, so a test's
// folder holds only what the command made there.
inline TCliRun RunShell(const std::string& command) {
    const TTempDir capture("cli-output");
    const std::string out = capture.File("stdout"), err = capture.File("stderr");
    const int raw = std::system(("( " + command + " ) > '" + out + "' 2> '" + err + "'").c_str());
    const auto slurp = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    TCliRun r;
    r.Status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.Out = slurp(out);
    r.Err = slurp(err);
    return r;
}

// Runs `folioscriptor-cli ARGS`; the arguments go to the shell as written (the tests' paths
// need no quoting).
inline TCliRun RunCli(const std::string& args) {
    return RunShell(std::string("'") + FS_CLI + "' " + args);
}

class CliTest : public testing::Test {
protected:
    std::string File(const std::string& name) const { return Dir.File(name); }

    TTempDir Dir{"cli"};
};
