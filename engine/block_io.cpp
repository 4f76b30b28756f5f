#include "engine/block_io.h"

#include "platform/errors.h"

namespace velkor {

bool WriteBlockAt(const platform::FileHandle& file, uint64_t offset, const void* data, uint32_t size,
                  uint32_t chunk) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  const uint32_t limit = RequestSize(chunk);
  uint32_t done = 0;
  while (done < size) {
    const uint32_t request = size - done < limit ? size - done : limit;
    uint32_t written = 0;
    if (!platform::WriteFileAt(file, offset + done, bytes + done, request, &written)) return false;
    if (written == 0) {
      platform::SetLastError(platform::kErrorWriteFault);
      return false;
    }
    done += written;
  }
  return true;
}

bool ReadBlockAt(const platform::FileHandle& file, uint64_t offset, void* buffer, uint32_t size,
                 uint32_t chunk) {
  auto* bytes = static_cast<uint8_t*>(buffer);
  const uint32_t limit = RequestSize(chunk);
  uint32_t done = 0;
  while (done < size) {
    const uint32_t request = size - done < limit ? size - done : limit;
    uint32_t got = 0;
    if (!platform::ReadFileAt(file, offset + done, bytes + done, request, &got)) return false;
    if (got == 0) {
      platform::SetLastError(platform::kErrorHandleEof);
      return false;
    }
    done += got;
  }
  return true;
}

}  // namespace velkor
