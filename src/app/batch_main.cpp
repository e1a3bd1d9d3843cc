#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/Drawing.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (earthwork::cli::NeedsQt(args)) return earthwork::cli::HandOverToQtProgram(argv);
  return earthwork::cli::Run(args);
}
