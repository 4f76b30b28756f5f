// The drive table: the candidate drives a test may run on. Local fixed and removable drives
// only; network, cloud-sync and virtual drives are never offered. Built at start-up and after
// every drive change, on the user-interface thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "drives/drive_info.h"

namespace velkor {

// The rows, sorted by the drive sort state (drives/drive_table.h).
extern std::vector<DriveInfo> DriveTable;

// LogicalDriveMask read at the start of the last enumeration; the drive change watch compares
// the current one with it.
extern uint32_t LastDriveMask;

// Rebuilds DriveTable from the volumes in use, stores LastDriveMask and sorts the table. No
// failure is reported: a drive whose free space cannot be read is left out, a failing label,
// bus or write-protection query gives the no-name, default and writable answers. The window
// refills its list afterwards. Returns whether at least one drive was kept.
bool EnumerateDrives();

// The rows EnumerateDrives makes, unsorted, without touching DriveTable: safe on any thread.
// *mask receives the LogicalDriveMask read with them. The device of busyRoot (the target of a
// running test, whose queries would wait behind the test's writes) is not asked: its connection
// and the device's write protection come from its row in known, or the defaults without one.
std::vector<DriveInfo> CollectDrives(uint32_t* mask, const std::wstring& busyRoot = L"",
                                     const std::vector<DriveInfo>& known = {});

// Reads row's drive again as it is now: free and total bytes, label, file system, write
// protection and the system and program marks; the connection stays. False, with row untouched,
// when its free space cannot be read (the drive has gone).
bool RereadDrive(DriveInfo& row);

// The device target of the drive names a network redirection or a sync provider. A drive whose
// target cannot be read is not one.
bool IsNetworkOrCloudDrive(const std::wstring& root);

// The drive is a SUBST letter: a folder of another volume (QueryDosDeviceW names a "\\??\\"
// path). It is not listed; paths through it resolve to that volume (platform/volumes.h).
bool IsSubstitutedDrive(const std::wstring& root);

// The connection of the drive as its device reports it; the drive type's default when the
// device cannot be asked or reports an unlisted bus.
BusTypeInfo QueryBusType(const std::wstring& root, uint32_t driveType);

// Mounted read-only, or the device reports write protection. A probe that fails counts as
// writable.
bool IsWriteProtected(const std::wstring& root);

// The volume of path holds one of the system's folders (platform::SystemFolders).
bool IsSystemVolume(const std::wstring& path);

// The volume of path holds the running program's folder.
bool IsProgramVolume(const std::wstring& path);

// A drive row of root as EnumerateDrives makes it, with the system and program marks.
DriveInfo DescribeDrive(const std::wstring& root, const std::wstring& label, const std::wstring& fileSystem,
                        const std::wstring& bus, uint64_t totalBytes, uint64_t freeBytes);
// The same with the write protection already known (the device is not asked again).
DriveInfo DescribeDrive(const std::wstring& root, const std::wstring& label, const std::wstring& fileSystem,
                        const std::wstring& bus, uint64_t totalBytes, uint64_t freeBytes, bool writeProtected);

}  // namespace velkor
