// The small file writers that results files, exports, reports and help documents share. Each file
// is built in memory first and then written as a whole, replacing any earlier file of that name.
#pragma once

#include <string>
#include <string_view>

namespace velkor {

// Writes text as UTF-8 without byte-order mark. False when the file cannot be created or not
// every byte could be written; platform::LastError() then holds the reason.
bool WriteUtf8File(const std::wstring& path, std::wstring_view text);

// As WriteUtf8File, into a file it creates: an entry of that name (a file, a link) fails it with
// kErrorFileExists and stays as it is.
bool WriteUtf8FileNew(const std::wstring& path, std::wstring_view text);

// Writes bytes as they are; same contract as WriteUtf8File.
bool WriteBinaryFile(const std::wstring& path, std::string_view bytes);

// Windows-1252 bytes for PDF text; characters without a Windows-1252 form become '?' (or a
// best-fit letter on Windows).
std::string ToWindows1252(std::wstring_view text);

}  // namespace velkor
