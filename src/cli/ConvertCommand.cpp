#include <iostream>

#include "cli/BatchSession.h"
#include "cli/Cli.h"
#include "cli/Outputs.h"
#include "earfiles/EarFile.h"
#include "project/Store.h"

namespace earthwork::cli {

namespace {

constexpr const char* kConvertUsage = "Usage: earthwork convert IN.ear --out OUT.ear\n";

int Refuse(const std::string& why) {
  std::cerr << "convert: " << why << "\n" << kConvertUsage;
  return 1;
}

}  // namespace

int RunConvert(const std::vector<std::string>& args) {
  std::string in;
  std::string out;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--out") {
      if (i + 1 >= args.size()) return Refuse("--out needs a file name");
      out = args[++i];
    } else if (a.size() > 1 && a[0] == '-') {
      return Refuse("unknown option " + a);
    } else if (in.empty()) {
      in = a;
    } else {
      return Refuse("more than one input file: " + in + ", " + a);
    }
  }
  if (in.empty()) return Refuse("no input file");
  if (out.empty()) return Refuse("no output file (--out OUT.ear)");
  if (const std::string why = OutputRefusal(out, "--out", in, true); !why.empty()) {
    std::cerr << "convert: " << why << "; nothing was written.\n";
    return 1;
  }

  // Read as Open does, write as Save does (no question: OUT may exist).
  BatchSession session;
  ResetallAttributes(session.state);
  const int said = session.dialogs.MessageCount;
  if (!OpenEarFile(session.state, in)) {
    std::cerr << "convert: " << in << " was not read; nothing was written.\n";
    return 1;
  }
  // Every message while reading reports a fault in the file: a partly
  // understood project is not passed on.
  if (session.dialogs.MessageCount != said) {
    std::cerr << "convert: " << in << " holds errors; nothing was written.\n";
    return 1;
  }
  if (!SaveEarFile(session.state, out)) {
    std::cerr << "convert: nothing was written.\n";
    return 1;
  }
  return 0;
}

}  // namespace earthwork::cli
