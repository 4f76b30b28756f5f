#include <windows.h>
#include <winioctl.h>

#include <cwctype>

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

bool QueryPathVolume(const std::wstring& path, std::wstring* root, std::wstring* fileSystem) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  wchar_t volume[MAX_PATH + 1] = {};
  if (!::GetVolumePathNameW(path.c_str(), volume, MAX_PATH)) return false;
  *root = volume;
  std::wstring label;
  QueryVolumeNames(*root, &label, fileSystem);
  return true;
}

}  // namespace velkor::platform

namespace velkor::platform {
namespace {

// The volume's GUID name ("\\?\Volume{...}\") where the system gives one, else its root path.
bool VolumeNameOf(const std::wstring& path, std::wstring* name) {
  wchar_t root[MAX_PATH + 1] = {};
  if (!::GetVolumePathNameW(path.c_str(), root, MAX_PATH)) return false;
  wchar_t guid[MAX_PATH + 1] = {};
  *name = ::GetVolumeNameForVolumeMountPointW(root, guid, MAX_PATH) ? guid : root;
  return true;
}

}  // namespace

bool OnSameVolume(const std::wstring& a, const std::wstring& b) {
  std::wstring first, second;
  if (::GetFileAttributesW(a.c_str()) == INVALID_FILE_ATTRIBUTES ||
      ::GetFileAttributesW(b.c_str()) == INVALID_FILE_ATTRIBUTES || !VolumeNameOf(a, &first) ||
      !VolumeNameOf(b, &second)) {
    return false;
  }
  return ::CompareStringOrdinal(first.c_str(), -1, second.c_str(), -1, TRUE) == CSTR_EQUAL;
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
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  wchar_t root[MAX_PATH + 1] = {};
  if (!::GetVolumePathNameW(path.c_str(), root, MAX_PATH)) return false;
  // The volume device: "\\.\E:" for a drive letter, the GUID name without its last backslash
  // for a volume mounted in a folder.
  std::wstring volume = root;
  wchar_t guid[MAX_PATH + 1] = {};
  const bool named = ::GetVolumeNameForVolumeMountPointW(root, guid, MAX_PATH) != FALSE;
  if (named) volume = guid;
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
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT n = ::GetWindowsDirectoryW(folder, MAX_PATH);
  if (n == 0 || n > MAX_PATH) return {};
  return {folder};
}

// Windows file systems run in the kernel and read through no second cache of the device; the
// verify reads that pass the file cache (FILE_FLAG_NO_BUFFERING) reach the device.
bool DropBlockDeviceCache(const std::wstring& path, std::wstring* device) { return true; }

}  // namespace velkor::platform
