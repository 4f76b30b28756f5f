#include "drives/enumerate.h"

#include "drives/classify.h"
#include "drives/device_hold.h"
#include "common/paths.h"
#include "drives/drive_table.h"
#include "platform/files.h"
#include "platform/volumes.h"

namespace velkor {

std::vector<DriveInfo> DriveTable;
uint32_t LastDriveMask = 0;

namespace {

const DriveInfo* RowOf(const std::vector<DriveInfo>& rows, const std::wstring& root) {
  for (const DriveInfo& row : rows) {
    if (row.root == root) return &row;
  }
  return nullptr;
}

}  // namespace

std::vector<DriveInfo> CollectDrives(uint32_t* mask, const std::wstring& busyRoot, const std::vector<DriveInfo>& known) {
  std::vector<DriveInfo> rows;
  PassDeviceGate();
  // Cheap tests first: network and cloud drives never reach a device open.
  for (const std::wstring& root : platform::ListVolumeRoots(mask)) {
    const uint32_t type = platform::DriveTypeOf(root);
    if (type != platform::kDriveRemovable && type != platform::kDriveFixed) continue;
    if (IsNetworkOrCloudDrive(root)) continue;
    // A SUBST letter is a folder of a volume that has a letter of its own: testing through it
    // would test that volume under a second name.
    if (IsSubstitutedDrive(root)) continue;
    uint64_t freeBytes = 0, totalBytes = 0;
    if (!platform::GetVolumeSpace(root, &freeBytes, &totalBytes)) continue;  // e.g. an empty card slot
    const bool busy = !busyRoot.empty() && root == busyRoot;
    const DriveInfo* before = busy ? RowOf(known, root) : nullptr;
    BusTypeInfo bus = busy ? DefaultBusType(type) : QueryBusType(root, type);
    if (before != nullptr) bus.bus = before->bus;
    if (bus.isVirtual) continue;  // mounted disk images
    std::wstring label, fileSystem;
    platform::QueryVolumeNames(root, &label, &fileSystem);  // on failure both stay empty
    uint32_t flags = 0;
    const bool readOnly = platform::QueryVolumeFlags(root, &flags) && (flags & platform::kFileReadOnlyVolume) != 0;
    const bool deviceProtected = busy ? before != nullptr && before->writeProtected : platform::DeviceReportsWriteProtect(root);
    rows.push_back(DescribeDrive(root, label, fileSystem, bus.bus, totalBytes, freeBytes, readOnly || deviceProtected));
  }
  return rows;
}

bool EnumerateDrives() {
  DriveTable = CollectDrives(&LastDriveMask);
  SortDriveTable();
  return !DriveTable.empty();
}

bool RereadDrive(DriveInfo& row) {
  PassDeviceGate();
  uint64_t freeBytes = 0, totalBytes = 0;
  if (!platform::GetVolumeSpace(row.root, &freeBytes, &totalBytes)) return false;
  std::wstring label, fileSystem;
  platform::QueryVolumeNames(row.root, &label, &fileSystem);
  row = DescribeDrive(row.root, label, fileSystem, row.bus, totalBytes, freeBytes);
  return true;
}

bool IsSystemVolume(const std::wstring& path) {
  for (const std::wstring& folder : platform::SystemFolders()) {
    if (platform::OnSameVolume(path, folder)) return true;
  }
  return false;
}

bool IsProgramVolume(const std::wstring& path) { return platform::OnSameVolume(path, GetProgramDirectory()); }

DriveInfo DescribeDrive(const std::wstring& root, const std::wstring& label, const std::wstring& fileSystem,
                        const std::wstring& bus, uint64_t totalBytes, uint64_t freeBytes) {
  return DescribeDrive(root, label, fileSystem, bus, totalBytes, freeBytes, IsWriteProtected(root));
}

DriveInfo DescribeDrive(const std::wstring& root, const std::wstring& label, const std::wstring& fileSystem,
                        const std::wstring& bus, uint64_t totalBytes, uint64_t freeBytes, bool writeProtected) {
  DriveInfo drive = MakeDriveInfo(root, label, fileSystem, bus, totalBytes, freeBytes, writeProtected);
  if (IsSystemVolume(root)) MarkSystemVolume(drive);
  drive.programVolume = IsProgramVolume(root);
  return drive;
}

bool IsSubstitutedDrive(const std::wstring& root) {
  std::wstring target;
  return platform::QueryDeviceTarget(root, &target) && !platform::SubstitutedPath(target).empty();
}

bool IsNetworkOrCloudDrive(const std::wstring& root) {
  std::wstring target;
  if (!platform::QueryDeviceTarget(root, &target)) return false;
  return IsNetworkOrCloudTarget(target);
}

BusTypeInfo QueryBusType(const std::wstring& root, uint32_t driveType) {
  uint32_t busType = 0;
  if (!platform::QueryStorageBusType(root, &busType)) return DefaultBusType(driveType);
  return BusTypeOfStorageBus(busType, driveType);
}

bool IsWriteProtected(const std::wstring& root) {
  uint32_t flags = 0;
  if (platform::QueryVolumeFlags(root, &flags) && (flags & platform::kFileReadOnlyVolume) != 0) return true;
  return platform::DeviceReportsWriteProtect(root);
}

}  // namespace velkor
