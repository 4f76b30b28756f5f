// Volumes and the devices behind them, for the drive table. On Windows a volume is a drive
// letter and its root "E:\"; elsewhere it is a mounted file system and its root the mount point.
// Every query answers with the Windows numbers (drive types, volume flags, storage bus types), so
// the drive logic above is one on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velkor::platform {

// Drive types (GetDriveTypeW).
inline constexpr uint32_t kDriveUnknown = 0;
inline constexpr uint32_t kDriveNoRootDir = 1;
inline constexpr uint32_t kDriveRemovable = 2;
inline constexpr uint32_t kDriveFixed = 3;
inline constexpr uint32_t kDriveRemote = 4;
inline constexpr uint32_t kDriveCdRom = 5;
inline constexpr uint32_t kDriveRamDisk = 6;

// File-system flag of a volume mounted read-only (FILE_READ_ONLY_VOLUME).
inline constexpr uint32_t kFileReadOnlyVolume = 0x00080000;

// Storage bus types (STORAGE_BUS_TYPE).
inline constexpr uint32_t kBusUnknown = 0;
inline constexpr uint32_t kBusScsi = 1;
inline constexpr uint32_t kBusAtapi = 2;
inline constexpr uint32_t kBusAta = 3;
inline constexpr uint32_t kBus1394 = 4;
inline constexpr uint32_t kBusSsa = 5;
inline constexpr uint32_t kBusFibre = 6;
inline constexpr uint32_t kBusUsb = 7;
inline constexpr uint32_t kBusRaid = 8;
inline constexpr uint32_t kBusIscsi = 9;
inline constexpr uint32_t kBusSas = 10;
inline constexpr uint32_t kBusSata = 11;
inline constexpr uint32_t kBusSd = 12;
inline constexpr uint32_t kBusMmc = 13;
inline constexpr uint32_t kBusVirtual = 14;
inline constexpr uint32_t kBusFileBackedVirtual = 15;
inline constexpr uint32_t kBusSpaces = 16;
inline constexpr uint32_t kBusNvme = 17;

// A stamp of the volumes in use, read afresh on every call; it changes when a volume comes or
// goes. On Windows the logical-drive bit mask (bit 0 = A, bit 25 = Z); elsewhere a digest of the
// mounted file systems.
uint32_t LogicalDriveMask();

// The roots of the volumes in use: on Windows every drive letter in ascending order ("A:\" to
// "Z:\"); elsewhere, in mount order, the mount points of the file systems a block device backs
// (no other can be a local drive). *mask receives the LogicalDriveMask read with them.
std::vector<std::wstring> ListVolumeRoots(uint32_t* mask);

// One of the kDrive* types for a root (kDriveNoRootDir when root names no volume).
uint32_t DriveTypeOf(const std::wstring& root);

// The device target behind a root: on Windows the first target string QueryDosDeviceW gives for
// "E:", elsewhere the device or source the volume is mounted from. False when there is none.
bool QueryDeviceTarget(const std::wstring& root, std::wstring* target);

// The folder a SUBST letter stands for, from the device target QueryDosDeviceW gives for it:
// "\\??\\C:\\Daten" gives "C:\\Daten", "\\??\\UNC\\server\\share" gives "\\\\server\\share". Empty for
// the target of a real volume ("\\Device\\HarddiskVolume3") or a redirector.
std::wstring SubstitutedPath(std::wstring_view deviceTarget);

// path with a leading SUBST letter replaced by the folder it stands for (again while that is one
// too), so the volume queries see the volume itself; any other path unchanged. Windows only does
// anything here.
std::wstring ResolveSubstitutedLetter(const std::wstring& path);

// Volume label and file-system name (up to 127 characters each). Both stay empty on failure;
// the result says whether the system answered.
bool QueryVolumeNames(const std::wstring& root, std::wstring* label, std::wstring* fileSystem);

// File-system flags of the volume (kFileReadOnlyVolume and the other FILE_* volume flags).
bool QueryVolumeFlags(const std::wstring& root, uint32_t* flags);

// The kBus* type of the storage device that holds the volume. False when the device cannot be
// opened or does not answer (the caller picks a default).
bool QueryStorageBusType(const std::wstring& root, uint32_t* busType);

// True only when the device itself reports write protection (Windows: IOCTL_DISK_IS_WRITABLE
// fails with ERROR_WRITE_PROTECT; elsewhere the block device's read-only state). A device that
// cannot be asked counts as not protected.
bool DeviceReportsWriteProtect(const std::wstring& root);

// The volume that holds any existing path: its root (Windows: "E:\" or the mounted folder;
// elsewhere the mount point the path lies under) and its file-system name as the drive table shows
// it. False when the path does not exist.
bool QueryPathVolume(const std::wstring& path, std::wstring* root, std::wstring* fileSystem);

// Whether two existing paths lie on one volume (Windows: SUBST letters resolved, the same volume
// by its GUID name, else by the volume of QueryPathIdentity; elsewhere the same st_dev, links
// followed). False when either cannot be asked.
bool OnSameVolume(const std::wstring& a, const std::wstring& b);

// Who the mounted volume that holds path is now, as one text: two equal texts name the same
// volume, still mounted from the same device. Windows: the volume's GUID name (its root where it
// has none) and serial number; elsewhere the mount point, file system, source and device numbers
// of the mount, and the device node of a source that is one. False, with LastError(), when the
// path leads to no volume now: a file system that does not answer, a source device node gone.
bool QueryVolumeIdentity(const std::wstring& path, std::wstring* identity);
// A name of the physical device that holds an existing path: paths with equal names share one
// medium (two partitions of a disk, two folders of a volume). Windows: the disk's number
// (IOCTL_STORAGE_GET_DEVICE_NUMBER), else the volume's name; elsewhere the whole disk behind the
// mount (a partition's disk, the disk a device-mapper device maps, the device of a loop device's
// backing file), else the file system itself (tmpfs, network). False with LastError() when the
// path cannot be asked.
bool QueryPhysicalDevice(const std::wstring& path, std::wstring* device);

// Folders that lie on the system volumes: on Windows the Windows folder; elsewhere the root "/"
// and the user's home folder ($HOME, else the password database's).
std::vector<std::wstring> SystemFolders();

// For a file on a file system in user space over a block device (Linux "fuseblk": the NTFS and
// exFAT drivers), whose reads go through the block device's own cache: writes that cache back and
// drops it (fsync, POSIX_FADV_DONTNEED, BLKFLSBUF where permitted), so the next read of the file
// comes from the medium. True when done, and where nothing is needed (kernel file systems, whose
// file cache EvictFileFromCache drops; Windows). False, with *device naming the device and
// LastError() why, when the device cannot be opened or flushed.
bool DropBlockDeviceCache(const std::wstring& path, std::wstring* device);

// The BusType field of a STORAGE_DEVICE_DESCRIPTOR of size bytes (a 32-bit value at byte 28).
// False for a descriptor shorter than 40 bytes, which the device did not fill.
bool StorageBusOfDescriptor(const uint8_t* descriptor, size_t size, uint32_t* busType);

}  // namespace velkor::platform
