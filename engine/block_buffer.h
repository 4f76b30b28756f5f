// The one block buffer a worker keeps for a whole job.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

#include "platform/system.h"

namespace velkor {

struct AlignedDelete {
  std::align_val_t alignment;
  void operator()(uint8_t* p) const { ::operator delete[](p, alignment); }
};
using BlockBuffer = std::unique_ptr<uint8_t[], AlignedDelete>;

// size bytes at an address that is a multiple of alignment (a power of two); empty when the memory
// is not there. A buffer of a large page or more is made of large pages where the system has them.
inline BlockBuffer AllocateBlockBuffer(size_t size, size_t alignment) {
  const size_t large = platform::LargePageSize();
  const bool inLargePages = large != 0 && size >= large && (large & (large - 1)) == 0;
  if (inLargePages) {
    if (alignment < large) alignment = large;
    size = (size + large - 1) & ~(large - 1);
  }
  const std::align_val_t align{alignment};
  void* p = ::operator new[](size == 0 ? 1 : size, align, std::nothrow);
  if (p != nullptr && inLargePages) platform::AdviseLargePages(p, size);
  return BlockBuffer(static_cast<uint8_t*>(p), AlignedDelete{align});
}

}  // namespace velkor
