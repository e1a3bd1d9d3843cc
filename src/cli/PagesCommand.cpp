#include <iostream>

#include "cli/BatchSession.h"
#include "cli/Cli.h"
#include "printing/Paging.h"

namespace earthwork::cli {

int RunPages(const std::vector<std::string>& args) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
    std::cerr << "Usage: earthwork pages FILE.rpt\n";
    return 1;
  }
  BatchSession session;
  session.state.Report.ReportFileName = args[0];
  if (!CountNumberOfPages(session.state)) return 1;
  std::cout << session.state.Report.PageCount << "\n";
  return 0;
}

}  // namespace earthwork::cli
