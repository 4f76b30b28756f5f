// The parts of the volume queries that are the same on every platform.
#include "platform/volumes.h"

namespace velkor::platform {

bool StorageBusOfDescriptor(const uint8_t* descriptor, size_t size, uint32_t* busType) {
  if (descriptor == nullptr || size < 40) return false;
  // Little-endian on every Windows target.
  *busType = static_cast<uint32_t>(descriptor[28]) | static_cast<uint32_t>(descriptor[29]) << 8 |
             static_cast<uint32_t>(descriptor[30]) << 16 | static_cast<uint32_t>(descriptor[31]) << 24;
  return true;
}

}  // namespace velkor::platform
