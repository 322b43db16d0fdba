// folioscriptor-cli-qt: the commands of folioscriptor-cli that need Qt's painting and picture
// readers. folioscriptor-cli runs it for them; it is not meant to be run by hand.
#include <cstdio>
#include <cstring>

#include "Commands.h"

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "render") == 0) return RunRender(argc - 1, argv + 1);
    if (argc >= 2 && std::strcmp(argv[1], "compose") == 0) return RunCompose(argc - 1, argv + 1);
    std::fputs("usage: folioscriptor-cli-qt render|compose ARGS... (run by folioscriptor-cli)\n",
               stderr);
    return 2;
}
