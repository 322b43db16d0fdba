// The commands that paint or read pictures through Qt (render, compose) live in a second
// program, folioscriptor-cli-qt, so that folioscriptor-cli itself loads only Qt Core and
// starts in a few milliseconds for dump, decode and encode.
#pragma once

// Replaces this process by folioscriptor-cli-qt running the same command (argv[0] is the
// command's name). Returns only when that program cannot be run: 1, after saying why.
int RunInQtTool(int argc, char** argv);
