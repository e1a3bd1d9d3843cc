#pragma once

#include <cstddef>

namespace earthwork {

/// Memory for the store's blocks of cells. A full project is about 13 MB of
/// cells written once on open; taking all but its first 2 MB in huge pages,
/// where the system offers them, spares the thousands of page faults that
/// 4 KB pages cost (a quarter of reading the largest project). Freed blocks
/// are kept for the next ones, so the pages are never given back in a run.
void* AllocateCellMemory(std::size_t bytes);
void FreeCellMemory(void* memory, std::size_t bytes) noexcept;

/// A stateless allocator over the cell memory, for a block's vector.
template <class T>
struct CellAllocator {
  using value_type = T;
  CellAllocator() = default;
  template <class U>
  CellAllocator(const CellAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) { return static_cast<T*>(AllocateCellMemory(n * sizeof(T))); }
  void deallocate(T* p, std::size_t n) noexcept { FreeCellMemory(p, n * sizeof(T)); }
  friend bool operator==(const CellAllocator&, const CellAllocator&) { return true; }
};

}  // namespace earthwork
