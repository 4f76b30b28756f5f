#include <windows.h>

#include <vector>

#include "platform/profile.h"

namespace velkor::platform {

std::wstring ReadIniString(const std::wstring& file, const std::wstring& section,
                               const std::wstring& key, const std::wstring& defaultValue,
                               uint32_t bufferChars) {
  if (bufferChars == 0) return std::wstring();
  std::vector<wchar_t> buffer(bufferChars, L'\0');
  const DWORD n = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                             bufferChars, file.c_str());
  return std::wstring(buffer.data(), n < bufferChars ? n : bufferChars - 1);
}

int32_t ReadIniInt(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                       int32_t defaultValue) {
  return static_cast<int32_t>(::GetPrivateProfileIntW(section.c_str(), key.c_str(), defaultValue, file.c_str()));
}

bool WriteIniString(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                        const std::wstring& value) {
  return ::WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

}  // namespace velkor::platform
