#include <windows.h>

#include "platform/text.h"

namespace velkor::platform {

std::string WideToWindows1252(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int n = ::WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
  return out;
}

}  // namespace velkor::platform
