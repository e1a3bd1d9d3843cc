#include "cli/Outputs.h"

#include <iostream>

#include "geopak/LogRecognition.h"
#include "project/Errors.h"
#include "project/FileIO.h"
#include "project/FileKinds.h"

namespace earthwork::cli {

std::string OutputRefusal(const std::string& output, const std::string& option,
                          const std::string& input, bool writesProjects) {
  if (output.empty()) return "";
  if (output == input || SameFile(output, input)) {
    return option + " names the input file " + input;
  }
  try {
    CheckSaveTarget(output);
  } catch (const ProgramError& e) {
    return e.what();
  }
  // A file that cannot be read here is left to the writer, which says why.
  try {
    if (!writesProjects && ClassifyEarFirstLine(ReadFirstLine(output)) != EarFirstLine::NotEar) {
      return option + " names " + output + ", which holds earthwork data";
    }
    if (HasLogSignature(output)) return option + " names " + output + ", which is an earthwork log";
  } catch (const ProgramError&) {
  }
  return "";
}

bool WriteOutput(const std::string& path, std::string_view bytes) {
  try {
    WriteFileAtomically(path, bytes);
    std::cout << "Written: " << path << "\n";
    return true;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return false;
  }
}

}  // namespace earthwork::cli
