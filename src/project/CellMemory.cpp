#include "project/CellMemory.h"

#include <mutex>
#include <new>
#include <unordered_map>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>

#include <cstdlib>
#endif

namespace earthwork {

namespace {

#ifdef __linux__
constexpr std::size_t kHugePage = std::size_t{2} << 20;

/// Pieces of huge-page chunks, by size; freed pieces wait for reuse.
class CellPool {
 public:
  void* Allocate(std::size_t bytes) {
    const std::lock_guard lock(mutex_);
    std::vector<void*>& free = free_[bytes];
    if (!free.empty()) {
      void* piece = free.back();
      free.pop_back();
      return piece;
    }
    if (left_ < bytes) NewChunk();
    void* piece = next_;
    next_ += bytes;
    left_ -= bytes;
    return piece;
  }

  void Free(void* piece, std::size_t bytes) {
    const std::lock_guard lock(mutex_);
    free_[bytes].push_back(piece);
  }

 private:
  void NewChunk() {
    void* chunk = std::aligned_alloc(kHugePage, kHugePage);
    if (chunk == nullptr) throw std::bad_alloc();
    // Only advice: without huge pages the chunk is ordinary memory. The
    // first chunk stays in small pages, so a small project (and every
    // start) never waits for the system to find a huge page.
    if (chunks_++ > 0) ::madvise(chunk, kHugePage, MADV_HUGEPAGE);
    next_ = static_cast<char*>(chunk);
    left_ = kHugePage;
  }

  std::mutex mutex_;
  std::unordered_map<std::size_t, std::vector<void*>> free_;
  char* next_ = nullptr;
  std::size_t left_ = 0;
  int chunks_ = 0;
};

CellPool& Pool() {
  static CellPool* pool = new CellPool;  // never destroyed: cells may outlive statics
  return *pool;
}

// Small requests (an outer table, a vector being built up) go to the heap;
// the pool is for whole blocks of cells, in pieces of whole cache lines.
// Allocation and freeing both ask here, so they always agree.
std::size_t PooledSize(std::size_t bytes) {
  constexpr std::size_t kPooledFrom = 4096;
  if (bytes < kPooledFrom || bytes > kHugePage / 4) return 0;
  return (bytes + 63) / 64 * 64;
}
#endif

}  // namespace

void* AllocateCellMemory(std::size_t bytes) {
#ifdef __linux__
  if (const std::size_t size = PooledSize(bytes); size != 0) return Pool().Allocate(size);
#endif
  return ::operator new(bytes);
}

void FreeCellMemory(void* memory, [[maybe_unused]] std::size_t bytes) noexcept {
#ifdef __linux__
  if (const std::size_t size = PooledSize(bytes); size != 0) {
    Pool().Free(memory, size);
    return;
  }
#endif
  ::operator delete(memory);
}

}  // namespace earthwork
