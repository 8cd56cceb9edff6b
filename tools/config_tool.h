// zarnik-config, the operators' tool for the program's configuration file:
//
//   zarnik-config encipher
//   zarnik-config write FILE --host HOST --database DATABASE --user USER [--force]
//   zarnik-config show FILE [--reveal]
//
// Secret values (the value to encipher, the password) come from standard
// input, with a prompt and without echo when it is a terminal, never from
// the command line. Exit codes: 0 done, 1 failed, 2 wrong usage.
#pragma once

#include <cstdio>

struct ToolStreams {
  std::FILE* in;
  std::FILE* out;
  std::FILE* err;
};

// Runs one command; argv[0] is the program name. Everything the tool prints
// goes to streams.out (results) and streams.err (prompts, errors).
int runConfigTool(int argc, const char* const* argv, const ToolStreams& streams);
