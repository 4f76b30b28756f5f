// The decisions behind the drive table, as pure functions: which device targets are network or
// sync-provider drives, which connection text a storage bus gets, the free share, the row texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "drives/drive_info.h"

namespace velkor {

// True when a device target (the first QueryDosDevice target of a drive, or a mount source)
// contains, in any ASCII case, one of "\device\mup", "lanmanredirector", "\??\unc\",
// "googledrive", "onedrive", "dropbox", "cloud": mapped network drives, UNC redirections and the
// drives of sync providers, which may call themselves fixed or removable.
bool IsNetworkOrCloudTarget(std::wstring_view target);

// The connection when the device cannot be asked: "USB/Wechselmedium" for a removable drive
// (drive type 2), "IDE/Direkt" for any other; never virtual.
BusTypeInfo DefaultBusType(uint32_t driveType);

// The connection for a storage bus type the device reported: SCSI, ATAPI, ATA, RAID, SAS, SATA
// and NVMe "IDE/Direkt"; USB "USB"; SD "SD"; MMC "SD/MMC"; virtual and file-backed virtual disks
// "Virtuell" and virtual; any other bus the default of the drive type.
BusTypeInfo BusTypeOfStorageBus(uint32_t busType, uint32_t driveType);

// 100 * free / total, both taken as unsigned values; 0.0 for a total of 0.
double FreePercent(uint64_t freeBytes, uint64_t totalBytes);

// A drive row: an empty label becomes Translate("no_name"), an empty file-system name
// Translate("unknown"), the status Translate("write_protect") or Translate("writable").
DriveInfo MakeDriveInfo(const std::wstring& root, const std::wstring& label, const std::wstring& fileSystem,
                        const std::wstring& bus, uint64_t totalBytes, uint64_t freeBytes,
                        bool writeProtected);

// Marks a row as the system volume: the flag, and Translate("system_volume") as its status unless
// the drive is write-protected (which says more about it).
void MarkSystemVolume(DriveInfo& drive);

}  // namespace velkor
