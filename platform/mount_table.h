// Linux volumes as pure functions over the texts the kernel gives: mount-table lines and sysfs
// attribute values. The POSIX volume queries read the real files and decide here, so fixtures
// shaped like real machines test every decision on every platform.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velkor::platform {

// One mounted file system: a line of /proc/self/mountinfo, or of /proc/mounts (which has no
// device numbers and always root "/").
struct MountEntry {
  uint32_t major = 0, minor = 0;  // st_dev of the file system (0:n for those without a device)
  std::string root;               // the folder of the file system mounted here; "/" for all of it
  std::string mountPoint;
  std::string mountOptions;       // per-mount options, e.g. "rw,nosuid,relatime"
  std::string fsType;             // e.g. "vfat", "fuseblk", "nfs4", "tmpfs"
  std::string source;             // e.g. "/dev/sdb1", "server:/export", "tmpfs"
  std::string superOptions;       // file-system options (mountinfo only)
};

// False for a line that is not a mount-table line; fields keep the kernel's octal escapes
// undone ("\040" is a blank).
bool ParseMountInfoLine(std::string_view line, MountEntry* entry);
bool ParseMountsLine(std::string_view line, MountEntry* entry);

// All lines of a mountinfo or mounts text (the format is told per line); others are skipped.
std::vector<MountEntry> ParseMountTable(std::string_view text);

// The volumes a user sees, in mount order: a later mount on the same mount point hides the
// earlier one, and a file system mounted several times (bind mounts, subvolumes) counts once, at
// its first mount of the whole file system (root "/"), else at its first mount.
std::vector<MountEntry> VisibleVolumes(const std::vector<MountEntry>& table);

// Changes whenever a volume of the table comes, goes or moves (FNV-1a over the visible volumes).
uint32_t MountTableStamp(const std::vector<MountEntry>& table);

// Mounted read-only: "ro" among the per-mount or the file-system options.
bool IsReadOnlyMount(const MountEntry& mount);

// File systems that reach their data over a network or a sync provider.
bool IsNetworkFileSystem(std::string_view fsType);

// FUSE over a local block device ("fuseblk", "fuseblk.<subtype>": exFAT and NTFS drivers).
bool IsBlockFuse(std::string_view fsType);

// What sysfs tells about the block device behind a volume: the texts as read, trimmed; empty
// where the attribute is missing.
struct BlockDeviceFacts {
  std::string name;       // kernel name, e.g. "sdb1", "mmcblk0p1", "nvme0n1p2", "loop3"
  std::string sysfsPath;  // resolved device folder, e.g. "/sys/devices/.../block/sdb/sdb1"
  std::string removable;  // "removable" of the whole disk: "1" or "0"
  std::string readOnly;   // "1" when "ro" of the device or of its disk is 1
  std::string mmcType;    // "device/type" of an MMC disk: "SD", "MMC", "SDIO"
};

// The drive type (kDrive*) of a mounted volume; device is null when no block device backs it.
// Network and sync file systems are remote, tmpfs a RAM disk, optical drives CD-ROM, other
// device-less file systems unknown; block devices are removable when the disk says so or holds
// an SD card, fixed otherwise.
uint32_t DriveTypeOfVolume(const MountEntry& mount, const BlockDeviceFacts* device);

// The storage bus (kBus*) from the device's place in sysfs: USB anywhere on the way, SD/MMC
// hosts, NVMe, ATA, SCSI and virtio disks; loop devices are file-backed virtual, RAM-backed
// ones virtual.
uint32_t StorageBusOfDevice(const BlockDeviceFacts& device);

// The file-system name as Windows would show it ("FAT32", "FAT", "exFAT", "NTFS", ...); others as
// the kernel names them. probedType/probedVersion come from the udev database (ID_FS_TYPE,
// ID_FS_VERSION) or the volume's first sector and may be empty; a probed "vfat" is FAT whatever
// driver reads it.
std::string FileSystemDisplayName(std::string_view fsType, std::string_view probedType,
                                  std::string_view probedVersion);

// What the first sector of a volume names, as udev would probe it: type "vfat" with version
// "FAT32", "FAT16" or "FAT12", "exfat" or "ntfs" (version empty). False for anything else and for
// fewer than 512 bytes.
bool ProbeBootSector(std::string_view sector, std::string* type, std::string* version);

// The value of "E:<key>=" in a udev database text; empty when absent.
std::string UdevProperty(std::string_view database, std::string_view key);

// Undoes udev's "\xNN" escapes (labels in ID_FS_LABEL_ENC and /dev/disk/by-label names).
std::string DecodeUdevEscapes(std::string_view text);

}  // namespace velkor::platform
