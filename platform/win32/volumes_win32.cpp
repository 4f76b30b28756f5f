#include <windows.h>

#include <algorithm>
#include <winioctl.h>

#include <cwctype>

#include "platform/files.h"
#include "platform/volumes.h"

namespace velkor::platform {
namespace {

// "\\.\E:" for a root "E:\": the volume device, opened for queries only.
HANDLE OpenVolumeDevice(const std::wstring& root) {
  const std::wstring path = L"\\\\.\\" + root.substr(0, 2);
  return ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

uint32_t LogicalDriveMask() { return ::GetLogicalDrives(); }

std::vector<std::wstring> ListVolumeRoots(uint32_t* mask) {
  *mask = ::GetLogicalDrives();
  std::vector<std::wstring> roots;
  for (int i = 0; i < 26; ++i) {
    if (*mask & (1u << i)) roots.push_back(std::wstring{static_cast<wchar_t>(L'A' + i), L':', L'\\'});
  }
  return roots;
}

uint32_t DriveTypeOf(const std::wstring& root) { return ::GetDriveTypeW(root.c_str()); }

bool QueryDeviceTarget(const std::wstring& root, std::wstring* target) {
  if (root.empty()) return false;
  const wchar_t device[3] = {root[0], L':', 0};
  wchar_t buffer[1024] = {};
  if (::QueryDosDeviceW(device, buffer, 1024) == 0) return false;
  buffer[1023] = 0;
  *target = buffer;  // the first of the null-separated targets
  return true;
}

bool QueryVolumeNames(const std::wstring& root, std::wstring* label, std::wstring* fileSystem) {
  wchar_t labelBuffer[128] = {};
  wchar_t fsBuffer[128] = {};
  DWORD serial = 0, maxComponent = 0, flags = 0;
  const BOOL ok = ::GetVolumeInformationW(root.c_str(), labelBuffer, 128, &serial, &maxComponent,
                                          &flags, fsBuffer, 128);
  labelBuffer[127] = 0;
  fsBuffer[127] = 0;
  *label = labelBuffer;
  *fileSystem = fsBuffer;
  return ok != FALSE;
}

bool QueryVolumeFlags(const std::wstring& root, uint32_t* flags) {
  wchar_t fsBuffer[64] = {};
  DWORD serial = 0, maxComponent = 0, fsFlags = 0;
  if (!::GetVolumeInformationW(root.c_str(), nullptr, 0, &serial, &maxComponent, &fsFlags, fsBuffer,
                               64)) {
    return false;
  }
  *flags = fsFlags;
  return true;
}

bool QueryStorageBusType(const std::wstring& root, uint32_t* busType) {
  HANDLE device = OpenVolumeDevice(root);
  if (device == INVALID_HANDLE_VALUE) return false;
  STORAGE_PROPERTY_QUERY query{};  // StorageDeviceProperty, PropertyStandardQuery
  static_assert(sizeof(query) == 12, "the query the device expects");
  uint8_t descriptor[1024] = {};
  DWORD returned = 0;
  const BOOL ok = ::DeviceIoControl(device, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof(query),
                                    descriptor, sizeof(descriptor), &returned, nullptr);
  ::CloseHandle(device);
  return ok && StorageBusOfDescriptor(descriptor, returned, busType);
}

bool DeviceReportsWriteProtect(const std::wstring& root) {
  HANDLE device = OpenVolumeDevice(root);
  if (device == INVALID_HANDLE_VALUE) return false;
  DWORD returned = 0;
  const BOOL ok = ::DeviceIoControl(device, IOCTL_DISK_IS_WRITABLE, nullptr, 0, nullptr, 0, &returned,
                                    nullptr);
  const DWORD error = ::GetLastError();
  ::CloseHandle(device);
  return !ok && error == ERROR_WRITE_PROTECT;
}

}  // namespace velkor::platform

namespace velkor::platform {
namespace {

// The root ("E:\\", a mounted folder, a share) of the volume that holds path; a buffer as long as
// the path holds it, however long that is.
bool VolumePathOf(const std::wstring& path, std::wstring* root) {
  // A relative path's volume root can be longer than the path itself.
  const DWORD full = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  std::wstring buffer(std::max<size_t>(path.size(), full) + 2, L'\0');
  if (!::GetVolumePathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()))) return false;
  *root = buffer.c_str();
  return true;
}

// "\\?\\Volume{GUID}\\" (49 characters) of a volume root; false where the system gives none (a
// share, Wine's folders).
bool VolumeGuidOf(const std::wstring& root, std::wstring* guid) {
  wchar_t name[64] = {};
  if (!::GetVolumeNameForVolumeMountPointW(root.c_str(), name, 64)) return false;
  *guid = name;
  return true;
}

}  // namespace

std::wstring ResolveSubstitutedLetter(const std::wstring& path) {
  std::wstring resolved = path;
  // A SUBST letter may stand for a folder of another SUBST letter; 26 steps pass every letter.
  for (int step = 0; step < 26 && resolved.size() >= 2 && resolved[1] == L':'; ++step) {
    std::wstring target;
    if (!QueryDeviceTarget(resolved, &target)) break;
    std::wstring folder = SubstitutedPath(target);
    if (folder.empty()) break;
    std::wstring rest = resolved.substr(2);
    if (!folder.empty() && folder.back() == L'\\' && !rest.empty() && rest.front() == L'\\') rest.erase(0, 1);
    resolved = folder + rest;
  }
  return resolved;
}

bool QueryPathVolume(const std::wstring& path, std::wstring* root, std::wstring* fileSystem) {
  const std::wstring resolved = ResolveSubstitutedLetter(path);
  if (::GetFileAttributesW(resolved.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  if (!VolumePathOf(resolved, root)) return false;
  std::wstring label;
  QueryVolumeNames(*root, &label, fileSystem);
  return true;
}

bool OnSameVolume(const std::wstring& a, const std::wstring& b) {
  const std::wstring first = ResolveSubstitutedLetter(a), second = ResolveSubstitutedLetter(b);
  std::wstring firstRoot, secondRoot;
  if (::GetFileAttributesW(first.c_str()) == INVALID_FILE_ATTRIBUTES ||
      ::GetFileAttributesW(second.c_str()) == INVALID_FILE_ATTRIBUTES || !VolumePathOf(first, &firstRoot) ||
      !VolumePathOf(second, &secondRoot)) {
    return false;
  }
  std::wstring firstGuid, secondGuid;
  if (VolumeGuidOf(firstRoot, &firstGuid) && VolumeGuidOf(secondRoot, &secondGuid)) {
    return ::CompareStringOrdinal(firstGuid.c_str(), -1, secondGuid.c_str(), -1, TRUE) == CSTR_EQUAL;
  }
  // Without GUID names (shares, Wine's folders), the roots by what they are, not by their letter.
  FileIdentity firstId, secondId;
  if (QueryPathIdentity(firstRoot, &firstId) && QueryPathIdentity(secondRoot, &secondId)) return firstId == secondId;
  return ::CompareStringOrdinal(firstRoot.c_str(), -1, secondRoot.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool QueryVolumeIdentity(const std::wstring& path, std::wstring* identity) {
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  wchar_t root[MAX_PATH + 1] = {};
  if (!::GetVolumePathNameW(path.c_str(), root, MAX_PATH)) return false;
  // A volume whose GUID no longer resolves, or that no longer answers (a card reader without its
  // card says ERROR_NOT_READY), is gone; a GUID the system never gave is left out.
  wchar_t guid[MAX_PATH + 1] = {};
  const bool named = ::GetVolumeNameForVolumeMountPointW(root, guid, MAX_PATH) != FALSE;
  DWORD serial = 0;
  if (!::GetVolumeInformationW(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) return false;
  *identity = std::wstring(named ? guid : root) + L"|" + std::to_wstring(serial);
  return true;
}

bool QueryPhysicalDevice(const std::wstring& path, std::wstring* device) {
  const std::wstring resolved = ResolveSubstitutedLetter(path);
  if (::GetFileAttributesW(resolved.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  std::wstring root;
  if (!VolumePathOf(resolved, &root)) return false;
  // The volume device: "\\.\\E:" for a drive letter, the GUID name without its last backslash
  // for a volume mounted in a folder.
  std::wstring volume = root;
  std::wstring guid;
  if (VolumeGuidOf(root, &guid)) volume = guid;
  std::wstring open = volume;
  if (volume.size() == 3 && volume[1] == L':') {
    open = L"\\\\.\\" + volume.substr(0, 2);
  } else if (!open.empty() && open.back() == L'\\') {
    open.pop_back();
  }
  HANDLE handle = ::CreateFileW(open.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  STORAGE_DEVICE_NUMBER number{};
  DWORD returned = 0;
  const bool numbered = handle != INVALID_HANDLE_VALUE &&
                        ::DeviceIoControl(handle, IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, &number,
                                          sizeof(number), &returned, nullptr) &&
                        returned >= sizeof(number);
  if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  if (numbered) {
    *device = L"disk " + std::to_wstring(number.DeviceType) + L":" + std::to_wstring(number.DeviceNumber);
  } else {
    // No disk number (a volume over several disks, a network drive, Wine's folders): the volume
    // stands for its device.
    for (wchar_t& c : volume) c = static_cast<wchar_t>(std::towupper(c));
    *device = L"volume " + volume;
  }
  return true;
}

std::vector<std::wstring> SystemFolders() {
  // Asked for its length first; the answer counts the terminating zero only when it did not fit.
  std::wstring folder(64, L'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const UINT n = ::GetWindowsDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (n == 0) return {};
    if (n < folder.size()) return {folder.substr(0, n)};
    folder.resize(n + 1);
  }
  return {};
}

// Windows file systems run in the kernel and read through no second cache of the device; the
// verify reads that pass the file cache (FILE_FLAG_NO_BUFFERING) reach the device.
bool DropBlockDeviceCache(const std::wstring& path, std::wstring* device) { return true; }

}  // namespace velkor::platform
