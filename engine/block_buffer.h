// The one block buffer a worker keeps for a whole job.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace velkor {

struct AlignedDelete {
  std::align_val_t alignment;
  void operator()(uint8_t* p) const { ::operator delete[](p, alignment); }
};
using BlockBuffer = std::unique_ptr<uint8_t[], AlignedDelete>;

// size bytes at an address that is a multiple of alignment (a power of two); empty when the memory
// is not there.
inline BlockBuffer AllocateBlockBuffer(size_t size, size_t alignment) {
  const std::align_val_t align{alignment};
  void* p = ::operator new[](size == 0 ? 1 : size, align, std::nothrow);
  return BlockBuffer(static_cast<uint8_t*>(p), AlignedDelete{align});
}

}  // namespace velkor
