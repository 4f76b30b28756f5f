#include "platform/mount_table.h"

#include <unordered_map>

#include "platform/volumes.h"

namespace velkor::platform {
namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

// The kernel writes blank, tab, newline and backslash in names as "\040", "\011", "\012", "\134".
std::string Unescape(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) && IsOctal(field[i + 2]) &&
        IsOctal(field[i + 3])) {
      out.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
      i += 3;
    } else {
      out.push_back(field[i]);
    }
  }
  return out;
}

bool ParseNumber(std::string_view text, uint32_t* value) {
  if (text.empty() || text.size() > 9) return false;
  uint32_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint32_t>(c - '0');
  }
  *value = v;
  return true;
}

bool HasOption(std::string_view options, std::string_view wanted) {
  size_t start = 0;
  while (start <= options.size()) {
    size_t end = options.find(',', start);
    if (end == std::string_view::npos) end = options.size();
    if (options.substr(start, end - start) == wanted) return true;
    start = end + 1;
  }
  return false;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

std::string DeviceKey(const MountEntry& e) {
  if (e.major != 0 || e.minor != 0) return std::to_string(e.major) + ":" + std::to_string(e.minor);
  // /proc/mounts: a device path names the file system; anything else is one of a kind.
  if (StartsWith(e.source, "/dev/")) return e.source;
  return "@" + e.mountPoint;
}

}  // namespace

bool ParseMountInfoLine(std::string_view line, MountEntry* entry) {
  const std::vector<std::string_view> f = SplitFields(line);
  // id parent major:minor root mount-point options [optional...] - type source [super-options]
  if (f.size() < 9) return false;
  uint32_t id = 0, parent = 0;
  if (!ParseNumber(f[0], &id) || !ParseNumber(f[1], &parent)) return false;
  const size_t colon = f[2].find(':');
  MountEntry e;
  if (colon == std::string_view::npos || !ParseNumber(f[2].substr(0, colon), &e.major) ||
      !ParseNumber(f[2].substr(colon + 1), &e.minor)) {
    return false;
  }
  size_t dash = 6;
  while (dash < f.size() && f[dash] != "-") ++dash;
  if (dash + 2 >= f.size()) return false;
  e.root = Unescape(f[3]);
  e.mountPoint = Unescape(f[4]);
  e.mountOptions = std::string(f[5]);
  e.fsType = Unescape(f[dash + 1]);
  e.source = Unescape(f[dash + 2]);
  if (dash + 3 < f.size()) e.superOptions = std::string(f[dash + 3]);
  *entry = std::move(e);
  return true;
}

bool ParseMountsLine(std::string_view line, MountEntry* entry) {
  const std::vector<std::string_view> f = SplitFields(line);
  // source mount-point type options [dump pass]
  if (f.size() < 4 || f[1].empty() || f[1][0] != '/') return false;
  MountEntry e;
  e.source = Unescape(f[0]);
  e.mountPoint = Unescape(f[1]);
  e.fsType = Unescape(f[2]);
  e.mountOptions = std::string(f[3]);
  e.root = "/";
  *entry = std::move(e);
  return true;
}

std::vector<MountEntry> ParseMountTable(std::string_view text) {
  std::vector<MountEntry> table;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    MountEntry e;
    if (ParseMountInfoLine(line, &e) || ParseMountsLine(line, &e)) table.push_back(std::move(e));
    start = end + 1;
  }
  return table;
}

std::vector<MountEntry> VisibleVolumes(const std::vector<MountEntry>& table) {
  // Machines with containers have thousands of mounts: stay near linear.
  std::vector<const MountEntry*> top;
  std::unordered_map<std::string_view, size_t> topByMountPoint;
  for (const MountEntry& e : table) {
    const auto [it, added] = topByMountPoint.try_emplace(e.mountPoint, top.size());
    if (!added) {
      top[it->second] = nullptr;  // hidden by this later mount
      it->second = top.size();
    }
    top.push_back(&e);
  }
  std::vector<MountEntry> volumes;
  std::unordered_map<std::string, size_t> volumeByDevice;
  for (const MountEntry* e : top) {
    if (e == nullptr) continue;
    const auto [it, added] = volumeByDevice.try_emplace(DeviceKey(*e), volumes.size());
    if (added) {
      volumes.push_back(*e);
    } else if (volumes[it->second].root != "/" && e->root == "/") {
      volumes[it->second] = *e;
    }
  }
  return volumes;
}

uint32_t MountTableStamp(const std::vector<MountEntry>& table) {
  uint32_t hash = 2166136261u;
  auto add = [&hash](std::string_view text) {
    for (unsigned char c : text) hash = (hash ^ c) * 16777619u;
    hash = (hash ^ 0xFFu) * 16777619u;  // field end, so "ab"+"c" differs from "a"+"bc"
  };
  for (const MountEntry& e : VisibleVolumes(table)) {
    add(e.mountPoint);
    add(e.source);
    add(e.fsType);
    add(std::to_string(e.major) + ":" + std::to_string(e.minor));
  }
  return hash;
}

bool IsReadOnlyMount(const MountEntry& mount) {
  return HasOption(mount.mountOptions, "ro") || HasOption(mount.superOptions, "ro");
}

bool IsNetworkFileSystem(std::string_view fsType) {
  static constexpr std::string_view kNetwork[] = {
      "nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "ncp", "9p", "afs", "ceph", "glusterfs",
      "lustre", "gpfs", "beegfs", "orangefs", "pvfs2", "davfs", "coda", "sshfs", "virtiofs"};
  for (std::string_view name : kNetwork) {
    if (fsType == name) return true;
  }
  // FUSE drivers for remote stores and sync providers: fuse.sshfs, fuse.rclone, fuse.s3fs, ...
  if (StartsWith(fsType, "fuse.")) {
    static constexpr std::string_view kRemoteDrivers[] = {
        "sshfs", "rclone", "s3", "gcs", "drive", "dropbox", "cloud", "dav", "smb", "nfs", "gvfs",
        "glusterfs", "ceph", "onedrive", "mega", "blobfuse", "goofys"};
    const std::string_view driver = fsType.substr(5);
    for (std::string_view part : kRemoteDrivers) {
      if (Contains(driver, part)) return true;
    }
  }
  return false;
}

bool IsBlockFuse(std::string_view fsType) {
  return fsType == "fuseblk" || StartsWith(fsType, "fuseblk.");
}

uint32_t DriveTypeOfVolume(const MountEntry& mount, const BlockDeviceFacts* device) {
  if (IsNetworkFileSystem(mount.fsType)) return kDriveRemote;
  if (mount.fsType == "tmpfs" || mount.fsType == "ramfs") return kDriveRamDisk;
  if (device == nullptr) return kDriveUnknown;
  if (StartsWith(device->name, "sr")) return kDriveCdRom;
  if (device->removable == "1" || device->mmcType == "SD") return kDriveRemovable;
  return kDriveFixed;
}

uint32_t StorageBusOfDevice(const BlockDeviceFacts& device) {
  const std::string_view path = device.sysfsPath;
  const std::string_view name = device.name;
  // USB first: card readers, USB-attached NVMe and SATA enclosures are USB devices.
  if (Contains(path, "/usb")) return kBusUsb;
  if (StartsWith(name, "loop")) return kBusFileBackedVirtual;
  if (Contains(path, "/devices/virtual/block/")) {
    if (StartsWith(name, "md")) return kBusRaid;
    if (StartsWith(name, "nbd")) return kBusIscsi;
    if (StartsWith(name, "dm-")) return kBusUnknown;  // a mapping whose disk was not found
    return kBusVirtual;                               // zram, ram, ublk and the like
  }
  if (Contains(path, "/mmc_host/") || StartsWith(name, "mmcblk")) {
    return device.mmcType == "SD" ? kBusSd : kBusMmc;
  }
  if (Contains(path, "/nvme") || StartsWith(name, "nvme")) return kBusNvme;
  if (Contains(path, "/fw") || Contains(path, "/firewire")) return kBus1394;
  if (Contains(path, "/ata")) return kBusSata;
  if (Contains(path, "/virtio") || Contains(path, "/xen") || StartsWith(name, "vd") ||
      StartsWith(name, "xvd")) {
    return kBusScsi;
  }
  if (Contains(path, "/host") && Contains(path, "/target")) return kBusScsi;
  return kBusUnknown;
}

std::string FileSystemDisplayName(std::string_view fsType, std::string_view probedType,
                                  std::string_view probedVersion) {
  std::string_view base = fsType;
  if (IsBlockFuse(fsType)) {
    if (fsType.size() > 8) {
      base = fsType.substr(8);  // "fuseblk.<subtype>"
    } else if (!probedType.empty()) {
      base = probedType;
    }
  }
  // The device's own bytes name FAT whatever driver reads it (vfat, msdos, a FUSE driver).
  if (base == "vfat" || base == "fat" || probedType == "vfat") {
    return probedVersion == "FAT12" || probedVersion == "FAT16" ? "FAT" : "FAT32";
  }
  if (base == "msdos") return probedVersion == "FAT32" ? "FAT32" : "FAT";
  if (base == "exfat") return "exFAT";
  if (base == "ntfs" || base == "ntfs3" || base == "ntfs-3g") return "NTFS";
  if (base == "udf") return "UDF";
  if (base == "iso9660") return "CDFS";
  return std::string(base);
}

bool ProbeBootSector(std::string_view sector, std::string* type, std::string* version) {
  if (sector.size() < 512 || static_cast<unsigned char>(sector[510]) != 0x55 ||
      static_cast<unsigned char>(sector[511]) != 0xAA) {
    return false;
  }
  version->clear();
  if (sector.substr(3, 8) == "EXFAT   ") {
    *type = "exfat";
  } else if (sector.substr(3, 8) == "NTFS    ") {
    *type = "ntfs";
  } else if (sector.substr(82, 8) == "FAT32   ") {
    *type = "vfat";
    *version = "FAT32";
  } else if (sector.substr(54, 8) == "FAT16   " || sector.substr(54, 8) == "FAT12   ") {
    *type = "vfat";
    *version = std::string(sector.substr(54, 5));
  } else {
    return false;
  }
  return true;
}

std::string UdevProperty(std::string_view database, std::string_view key) {
  size_t start = 0;
  while (start < database.size()) {
    size_t end = database.find('\n', start);
    if (end == std::string_view::npos) end = database.size();
    const std::string_view line = database.substr(start, end - start);
    if (StartsWith(line, "E:") && line.size() > key.size() + 2 && line.substr(2, key.size()) == key &&
        line[2 + key.size()] == '=') {
      return std::string(line.substr(3 + key.size()));
    }
    start = end + 1;
  }
  return std::string();
}

std::string DecodeUdevEscapes(std::string_view text) {
  auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' && hex(text[i + 2]) >= 0 &&
        hex(text[i + 3]) >= 0) {
      out.push_back(static_cast<char>(hex(text[i + 2]) * 16 + hex(text[i + 3])));
      i += 3;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace velkor::platform
