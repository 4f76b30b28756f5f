// Settings files in INI form, read and written the way the Windows private-profile functions do
// (GetPrivateProfileStringW, GetPrivateProfileIntW, WritePrivateProfileStringW). Section and key
// names are case-insensitive; a missing file, section or key gives the default.
#pragma once

#include <cstdint>
#include <string>

namespace velkor::platform {

// The value of key in section, at most bufferChars - 1 characters; defaultValue when missing.
std::wstring ReadIniString(const std::wstring& file, const std::wstring& section,
                               const std::wstring& key, const std::wstring& defaultValue,
                               uint32_t bufferChars);

// The value as an integer (see ProfileIntOfText in platform/ini_text.h); defaultValue when the
// key is missing or empty, 0 when it does not start with a number.
int32_t ReadIniInt(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                       int32_t defaultValue);

// Sets key in section, creating the file, section or key as needed; every other section, key and
// line of the file stays. False (with LastError) when the file cannot be read or written; a file
// that cannot be read is never overwritten.
bool WriteIniString(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                        const std::wstring& value);

}  // namespace velkor::platform
