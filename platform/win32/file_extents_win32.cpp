#include "platform/file_extents.h"

#include <windows.h>
#include <winioctl.h>

#include "platform/errors.h"

namespace velkor::platform {
namespace {

// Where the volume of root starts on its disk, in bytes; false for a volume over several disks.
bool PartitionOffsetOf(const std::wstring& root, uint64_t* offset) {
  std::wstring device = L"\\\\.\\" + root.substr(0, 2);
  if (root.size() != 3 || root[1] != L':') {
    wchar_t guid[MAX_PATH + 1] = {};
    if (!::GetVolumeNameForVolumeMountPointW(root.c_str(), guid, MAX_PATH)) return false;
    device = guid;
    if (!device.empty() && device.back() == L'\\') device.pop_back();
  }
  // No access rights asked for: what the disk extents need, open to every user.
  HANDLE volume = ::CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr);
  if (volume == INVALID_HANDLE_VALUE) return false;
  VOLUME_DISK_EXTENTS extents{};
  DWORD returned = 0;
  const bool ok = ::DeviceIoControl(volume, IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, 0, &extents,
                                    sizeof extents, &returned, nullptr) &&
                  extents.NumberOfDiskExtents == 1;
  const DWORD code = ::GetLastError();
  ::CloseHandle(volume);
  if (!ok) {
    ::SetLastError(code == 0 ? ERROR_NOT_SUPPORTED : code);
    return false;
  }
  *offset = static_cast<uint64_t>(extents.Extents[0].StartingOffset.QuadPart);
  return true;
}

}  // namespace

bool QueryFileExtents(const std::wstring& path, std::vector<FileExtent>* extents) {
  extents->clear();
  wchar_t root[MAX_PATH + 1] = {};
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  uint64_t partition = 0;
  if (!::GetVolumePathNameW(path.c_str(), root, MAX_PATH) ||
      !::GetDiskFreeSpaceW(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters) ||
      !PartitionOffsetOf(root, &partition)) {
    return false;
  }
  const uint64_t cluster = uint64_t{sectorsPerCluster} * bytesPerSector;
  HANDLE file = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  // FAT and exFAT count clusters from their data area, not from the volume's start.
  RETRIEVAL_POINTER_BASE base{};
  DWORD returned = 0;
  uint64_t baseBytes = 0;
  if (::DeviceIoControl(file, FSCTL_GET_RETRIEVAL_POINTER_BASE, nullptr, 0, &base, sizeof base, &returned, nullptr)) {
    baseBytes = static_cast<uint64_t>(base.FileAreaOffset.QuadPart) * bytesPerSector;
  }
  STARTING_VCN_INPUT_BUFFER input{};
  alignas(8) unsigned char buffer[65536];
  auto* pointers = reinterpret_cast<RETRIEVAL_POINTERS_BUFFER*>(buffer);
  bool ok = true;
  for (;;) {
    const bool done = ::DeviceIoControl(file, FSCTL_GET_RETRIEVAL_POINTERS, &input, sizeof input, buffer,
                                        sizeof buffer, &returned, nullptr) != FALSE;
    const DWORD code = done ? 0 : ::GetLastError();
    if (!done && code == ERROR_HANDLE_EOF) break;  // an empty file
    if (!done && code != ERROR_MORE_DATA) {
      ok = false;
      break;
    }
    int64_t vcn = pointers->StartingVcn.QuadPart;
    for (DWORD i = 0; i < pointers->ExtentCount; ++i) {
      const int64_t next = pointers->Extents[i].NextVcn.QuadPart;
      const int64_t lcn = pointers->Extents[i].Lcn.QuadPart;
      if (lcn < 0) {  // a hole or a compressed stretch: no place of its own
        ::SetLastError(ERROR_NOT_SUPPORTED);
        ok = false;
        break;
      }
      extents->push_back({static_cast<uint64_t>(vcn) * cluster, partition + baseBytes + static_cast<uint64_t>(lcn) * cluster,
                          static_cast<uint64_t>(next - vcn) * cluster});
      vcn = next;
    }
    if (!ok || done || pointers->ExtentCount == 0) break;
    input.StartingVcn.QuadPart = vcn;
  }
  const DWORD code = ::GetLastError();
  ::CloseHandle(file);
  if (!ok) {
    extents->clear();
    ::SetLastError(code);
    return false;
  }
  MergeFileExtents(extents);
  return true;
}

}  // namespace velkor::platform
