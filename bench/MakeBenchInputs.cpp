// Writes the inputs bench/targets times: the largest project and a log of
// 10,000 records, into the folder given as the only argument.
#include <filesystem>
#include <iostream>

#include "BenchInputs.h"
#include "project/FileIO.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "Usage: make_bench_inputs FOLDER\n";
    return 1;
  }
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);
  if (!earthwork::bench::SaveLargestProject((dir / "full.ear").string())) return 1;
  earthwork::WriteFileAtomically((dir / "long.log").string(), earthwork::bench::LongLog());
  return 0;
}
