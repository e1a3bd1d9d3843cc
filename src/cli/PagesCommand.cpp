#include <iostream>

#include "cli/Cli.h"

namespace earthwork::cli {

int RunPages(const std::vector<std::string>&) {
  std::cerr << "This command is not available yet.\n";
  return 1;
}

}  // namespace earthwork::cli
