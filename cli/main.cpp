// folioscriptor-cli: headless commands for users and tests, dispatched by name. render and
// compose run in folioscriptor-cli-qt (see QtTool.h).
#include <cstdio>
#include <cstring>

#include "Commands.h"
#include "QtTool.h"

namespace {

struct Command {
    const char* name;
    const char* usage;
    int (*run)(int, char**);
};

const Command kCommands[] = {
    {"decode", "decode IN.jpg OUT.bmp   decode a JPEG file into a Windows bitmap", RunDecode},
    {"encode", "encode IN.bmp OUT.jpg [--quality N]   encode a Windows bitmap as a JPEG file",
     RunEncode},
    {"render", "render FILE.PST OUT.pdf|OUT.png [--dpi N]   print a document to PDF or PNG",
     RunInQtTool},
    {"dump", "dump FILE.PST [--no-pictures]   print a document as JSON", RunDump},
    {"compose", "compose FILE.json OUT.PST   write a document from JSON", RunInQtTool},
};

void PrintUsage(std::FILE* to) {
    std::fprintf(to, "usage: folioscriptor-cli COMMAND [ARGS...]\n\ncommands:\n");
    for (const Command& c : kCommands) std::fprintf(to, "  %s\n", c.usage);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        PrintUsage(stdout);
        return 0;
    }
    for (const Command& c : kCommands)
        if (std::strcmp(argv[1], c.name) == 0) return c.run(argc - 1, argv + 1);
    std::fprintf(stderr, "folioscriptor-cli: unknown command '%s'\n", argv[1]);
    PrintUsage(stderr);
    return 2;
}
