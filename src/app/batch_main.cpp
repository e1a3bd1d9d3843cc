#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/Drawing.h"

#ifdef __linux__
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace {

/// A batch run fills tens of megabytes once (a project's cells, a log's
/// tokens, a report's text) and exits. Taken in 4 KB pages every first
/// touch is a page fault, a third of a large run's time; so the heap grows
/// in one large step, keeps what is freed and is offered huge pages. Only
/// advice: without them the run is the same, only slower.
void PrepareHeapForOneRun() {
  constexpr int kStep = 64 << 20;
  mallopt(M_TOP_PAD, kStep);
  mallopt(M_TRIM_THRESHOLD, kStep);
  mallopt(M_MMAP_THRESHOLD, kStep / 2);  // whole files stay in the heap too
  const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
  // The heap grows by a step now (volatile: the pair must not be elided).
  void* volatile block = std::malloc(kStep / 4);
  std::free(block);
  constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
  const auto start = (before + kHuge - 1) & ~(kHuge - 1);
  const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0)) & ~(kHuge - 1);
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

}  // namespace
#endif

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (earthwork::cli::NeedsQt(args)) return earthwork::cli::HandOverToQtProgram(argv);
#ifdef __linux__
  PrepareHeapForOneRun();
#endif
  return earthwork::cli::Run(args);
}
