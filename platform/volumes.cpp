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

std::wstring SubstitutedPath(std::wstring_view deviceTarget) {
  constexpr std::wstring_view kDosPrefix = L"\\??\\";
  constexpr std::wstring_view kUnc = L"UNC\\";
  if (deviceTarget.substr(0, kDosPrefix.size()) != kDosPrefix) return L"";
  std::wstring_view rest = deviceTarget.substr(kDosPrefix.size());
  if (rest.size() > kUnc.size() && (rest[0] == L'U' || rest[0] == L'u') && (rest[1] == L'N' || rest[1] == L'n') &&
      (rest[2] == L'C' || rest[2] == L'c') && rest[3] == L'\\') {
    return L"\\\\" + std::wstring(rest.substr(kUnc.size()));
  }
  const bool drivePath = rest.size() >= 2 && rest[1] == L':' &&
                         ((rest[0] >= L'A' && rest[0] <= L'Z') || (rest[0] >= L'a' && rest[0] <= L'z'));
  return drivePath ? std::wstring(rest) : std::wstring();
}

}  // namespace velkor::platform
