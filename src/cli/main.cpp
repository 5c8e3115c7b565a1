// enlacor-cli: the headless runner. See cli/cli_runner.h.
#include <iostream>

#include "cli/cli_runner.h"

int main(int argc, char** argv) { return enlacor::RunCommandLine(argc, argv, std::cout, std::cerr); }
