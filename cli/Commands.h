// The commands of folioscriptor-cli; each takes the arguments after its name (argv[0] is the
// command name) and returns the process exit status.
#pragma once

int RunDecode(int argc, char** argv);
int RunEncode(int argc, char** argv);
int RunDump(int argc, char** argv);
int RunCompose(int argc, char** argv);
int RunRender(int argc, char** argv);
