#include <cstdio>

#include "tools/config_tool.h"

int main(int argc, char** argv) { return runConfigTool(argc, argv, ToolStreams{stdin, stdout, stderr}); }
