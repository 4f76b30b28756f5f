// Linux volumes: the mount table names them, sysfs and the udev database describe the block
// devices behind them. The decisions live in platform/mount_table.cpp; this file reads the files.
#include "platform/volumes.h"

#include <dirent.h>
#include <pwd.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/errors.h"
#include "platform/mount_table.h"
#include "platform/posix/posix_util.h"
#include "platform/text.h"

namespace velkor::platform {
namespace {

// Whole small text file (kernel tables, sysfs attributes); empty when unreadable.
std::string ReadText(const std::string& path, size_t limit = 16u << 20) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::string();
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
    if (text.size() >= limit) break;
  }
  ::close(fd);
  return text;
}

// A sysfs attribute: its first line without surrounding blanks.
std::string ReadAttribute(const std::string& path) {
  std::string text = ReadText(path, 4096);
  const size_t end = text.find('\n');
  if (end != std::string::npos) text.resize(end);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
  return text;
}

std::string RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return std::string();
  return resolved;
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

std::string NameOf(const std::string& path) {
  const size_t cut = path.find_last_of('/');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::vector<MountEntry> ReadMountTable() {
  std::string text = ReadText("/proc/self/mountinfo");
  if (text.empty()) text = ReadText("/proc/mounts");
  return ParseMountTable(text);
}

bool FindVolume(const std::wstring& root, MountEntry* volume) {
  const std::string mountPoint = NativePath(root);
  for (MountEntry& e : VisibleVolumes(ReadMountTable())) {
    if (e.mountPoint == mountPoint) {
      *volume = std::move(e);
      return true;
    }
  }
  return false;
}

// The block device a volume is mounted from: its source when that is a device node (btrfs and
// others report anonymous device numbers), else the device numbers of the mount table.
bool BlockDeviceOf(const MountEntry& volume, dev_t* device) {
  struct stat st;
  if (!volume.source.empty() && volume.source[0] == '/' && ::stat(volume.source.c_str(), &st) == 0 &&
      S_ISBLK(st.st_mode)) {
    *device = st.st_rdev;
    return true;
  }
  if (volume.major == 0) return false;
  const dev_t numbers = makedev(volume.major, volume.minor);
  if (!Exists("/sys/dev/block/" + std::to_string(volume.major) + ":" + std::to_string(volume.minor))) {
    return false;
  }
  *device = numbers;
  return true;
}

std::string SysfsFolderOf(dev_t device) {
  return RealPath("/sys/dev/block/" + std::to_string(major(device)) + ":" + std::to_string(minor(device)));
}

// Facts of the device; with followMappings a device-mapper device (LVM, encryption) is described
// by the disk it maps, as far as the chain goes.
bool ReadBlockFacts(dev_t device, bool followMappings, BlockDeviceFacts* facts) {
  std::string folder = SysfsFolderOf(device);
  if (folder.empty()) return false;
  bool readOnly = false;
  for (int depth = 0; depth < 8; ++depth) {
    readOnly = readOnly || ReadAttribute(folder + "/ro") == "1";
    if (!followMappings || NameOf(folder).rfind("dm-", 0) != 0) break;
    DIR* slaves = ::opendir((folder + "/slaves").c_str());
    if (slaves == nullptr) break;
    std::string next;
    while (dirent* entry = ::readdir(slaves)) {
      if (entry->d_name[0] != '.') {
        next = entry->d_name;
        break;
      }
    }
    ::closedir(slaves);
    if (next.empty()) break;
    const std::string resolved = RealPath("/sys/class/block/" + next);
    if (resolved.empty()) break;
    folder = resolved;
  }
  const std::string disk = Exists(folder + "/partition") ? folder.substr(0, folder.find_last_of('/')) : folder;
  readOnly = readOnly || ReadAttribute(folder + "/ro") == "1" || ReadAttribute(disk + "/ro") == "1";
  facts->name = NameOf(folder);
  facts->sysfsPath = folder;
  facts->removable = ReadAttribute(disk + "/removable");
  facts->readOnly = readOnly ? "1" : "0";
  facts->mmcType = ReadAttribute(disk + "/device/type");
  return true;
}

bool VolumeFacts(const std::wstring& root, MountEntry* volume, dev_t* device, BlockDeviceFacts* facts,
                 bool* isBlock) {
  if (!FindVolume(root, volume)) return false;
  *isBlock = BlockDeviceOf(*volume, device) && ReadBlockFacts(*device, true, facts);
  return true;
}

std::string UdevDatabase(dev_t device) {
  return ReadText("/run/udev/data/b" + std::to_string(major(device)) + ":" + std::to_string(minor(device)),
                  1u << 20);
}

std::string LabelFromByLabelLinks(dev_t device) {
  DIR* folder = ::opendir("/dev/disk/by-label");
  if (folder == nullptr) return std::string();
  std::string label;
  while (dirent* entry = ::readdir(folder)) {
    if (entry->d_name[0] == '.') continue;
    struct stat st;
    const std::string link = std::string("/dev/disk/by-label/") + entry->d_name;
    if (::stat(link.c_str(), &st) == 0 && S_ISBLK(st.st_mode) && st.st_rdev == device) {
      label = DecodeUdevEscapes(entry->d_name);
      break;
    }
  }
  ::closedir(folder);
  return label;
}

std::string LabelFromFileSystem(const std::string& mountPoint) {
#ifdef FS_IOC_GETFSLABEL
  const int fd = ::open(mountPoint.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return std::string();
  char label[FSLABEL_MAX + 1] = {};
  const int result = ::ioctl(fd, FS_IOC_GETFSLABEL, label);
  ::close(fd);
  if (result == 0) return std::string(label, strnlen(label, FSLABEL_MAX));
#endif
  return std::string();
}

// Without a udev database (containers, minimal systems): the device's first sector, where it may
// be read.
void ProbeDevice(const MountEntry& volume, dev_t device, std::string* type, std::string* version) {
  struct stat st;
  std::string node = volume.source;
  if (::stat(node.c_str(), &st) != 0 || !S_ISBLK(st.st_mode) || st.st_rdev != device) {
    node = "/dev/" + NameOf(SysfsFolderOf(device));
  }
  const int fd = ::open(node.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  char sector[512];
  const ssize_t n = ::pread(fd, sector, sizeof sector, 0);
  ::close(fd);
  if (n == static_cast<ssize_t>(sizeof sector)) ProbeBootSector(std::string_view(sector, sizeof sector), type, version);
}

std::wstring Limit127(std::wstring text) {
  if (text.size() > 127) text.resize(127);
  return text;
}

}  // namespace

uint32_t LogicalDriveMask() { return MountTableStamp(ReadMountTable()); }

std::vector<std::wstring> ListVolumeRoots(uint32_t* mask) {
  const std::vector<MountEntry> table = ReadMountTable();
  *mask = MountTableStamp(table);
  std::vector<std::wstring> roots;
  for (const MountEntry& e : VisibleVolumes(table)) {
    // Only a block device can back a local drive: proc, tmpfs, overlay, network and sync mounts
    // (often thousands on machines with containers) are left out before any query.
    dev_t device = 0;
    if (!BlockDeviceOf(e, &device)) continue;
    struct stat st;
    // A file bind-mounted over a file (containers do that) is no volume.
    if (::stat(e.mountPoint.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) roots.push_back(Utf8ToWide(e.mountPoint));
  }
  return roots;
}

uint32_t DriveTypeOf(const std::wstring& root) {
  MountEntry volume;
  dev_t device = 0;
  BlockDeviceFacts facts;
  bool isBlock = false;
  if (!VolumeFacts(root, &volume, &device, &facts, &isBlock)) return kDriveNoRootDir;
  return DriveTypeOfVolume(volume, isBlock ? &facts : nullptr);
}

bool QueryDeviceTarget(const std::wstring& root, std::wstring* target) {
  MountEntry volume;
  if (!FindVolume(root, &volume)) {
    SetLastError(kErrorFileNotFound);
    return false;
  }
  dev_t device = 0;
  BlockDeviceFacts facts;
  // A device's kernel name rather than a user-chosen mapper name, so that a name cannot mimic a
  // network or sync provider.
  if (BlockDeviceOf(volume, &device) && ReadBlockFacts(device, false, &facts)) {
    *target = Utf8ToWide("/dev/" + facts.name);
  } else {
    *target = Utf8ToWide(volume.source);
  }
  return true;
}

bool QueryVolumeNames(const std::wstring& root, std::wstring* label, std::wstring* fileSystem) {
  label->clear();
  fileSystem->clear();
  MountEntry volume;
  if (!FindVolume(root, &volume)) {
    SetLastError(kErrorPathNotFound);
    return false;
  }
  dev_t device = 0;
  std::string udev;
  std::string labelText;
  if (BlockDeviceOf(volume, &device)) {
    udev = UdevDatabase(device);
    labelText = DecodeUdevEscapes(UdevProperty(udev, "ID_FS_LABEL_ENC"));
    if (labelText.empty()) labelText = UdevProperty(udev, "ID_FS_LABEL");
    if (labelText.empty()) labelText = LabelFromByLabelLinks(device);
    if (labelText.empty()) labelText = LabelFromFileSystem(volume.mountPoint);
  }
  std::string probedType = UdevProperty(udev, "ID_FS_TYPE");
  std::string probedVersion = UdevProperty(udev, "ID_FS_VERSION");
  if (probedType.empty() && device != 0) ProbeDevice(volume, device, &probedType, &probedVersion);
  *label = Limit127(Utf8ToWide(labelText));
  *fileSystem = Limit127(Utf8ToWide(FileSystemDisplayName(volume.fsType, probedType, probedVersion)));
  return true;
}

bool QueryVolumeFlags(const std::wstring& root, uint32_t* flags) {
  struct statvfs st;
  if (::statvfs(NativePath(root).c_str(), &st) != 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  MountEntry volume;
  const bool readOnly = (st.f_flag & ST_RDONLY) != 0 || (FindVolume(root, &volume) && IsReadOnlyMount(volume));
  *flags = readOnly ? kFileReadOnlyVolume : 0;
  return true;
}

bool QueryStorageBusType(const std::wstring& root, uint32_t* busType) {
  MountEntry volume;
  dev_t device = 0;
  BlockDeviceFacts facts;
  bool isBlock = false;
  if (!VolumeFacts(root, &volume, &device, &facts, &isBlock) || !isBlock) {
    SetLastError(kErrorNotSupported);
    return false;
  }
  *busType = StorageBusOfDevice(facts);
  return true;
}

bool DeviceReportsWriteProtect(const std::wstring& root) {
  MountEntry volume;
  dev_t device = 0;
  BlockDeviceFacts facts;
  bool isBlock = false;
  return VolumeFacts(root, &volume, &device, &facts, &isBlock) && isBlock && facts.readOnly == "1";
}

}  // namespace velkor::platform

namespace velkor::platform {

namespace {

// The mount that holds an existing path: the last one whose point is a prefix of the path at a
// folder boundary (later mounts stack over earlier ones). False with LastError() when there is none.
bool MountOfPath(const std::wstring& path, MountEntry* mount) {
  char resolved[PATH_MAX];
  if (!::realpath(NativePath(path).c_str(), resolved)) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  const std::string target = resolved;
  const MountEntry* best = nullptr;
  const std::vector<MountEntry> mounts = ReadMountTable();
  for (const MountEntry& m : mounts) {
    const std::string& point = m.mountPoint;
    const bool covers = point == "/" || target == point ||
                        (target.size() > point.size() && target.compare(0, point.size(), point) == 0 &&
                         target[point.size()] == '/');
    if (covers && (!best || point.size() >= best->mountPoint.size())) best = &m;
  }
  if (!best) {
    SetLastError(kErrorPathNotFound);
    return false;
  }
  *mount = *best;
  return true;
}

}  // namespace

bool DropBlockDeviceCache(const std::wstring& path, std::wstring* device) {
  MountEntry mount;
  if (!MountOfPath(path, &mount) || !IsBlockFuse(mount.fsType)) return true;
  struct stat st;
  if (mount.source.empty() || mount.source[0] != '/' || ::stat(mount.source.c_str(), &st) != 0 ||
      !S_ISBLK(st.st_mode)) {
    return true;
  }
  *device = Utf8ToWide(mount.source);
  const int fd = ::open(mount.source.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  // Dirty pages first: dropping skips them. BLKFLSBUF does both but needs CAP_SYS_ADMIN; the
  // advice alone drops every clean page.
  bool ok = ::fsync(fd) == 0;
  if (!ok) SetLastErrorFromErrno(errno);
  if (ok) {
    const int rc = ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ok = rc == 0;
    if (!ok) SetLastErrorFromErrno(rc);
  }
  if (ok) ::ioctl(fd, BLKFLSBUF, 0);
  ::close(fd);
  return ok;
}

bool QueryVolumeIdentity(const std::wstring& path, std::wstring* identity) {
  MountEntry mount;
  if (!MountOfPath(path, &mount)) return false;
  std::string text = mount.mountPoint + '\n' + mount.fsType + '\n' + mount.source + '\n' +
                     std::to_string(mount.major) + ':' + std::to_string(mount.minor);
  // A pulled device loses its node at once, while its file system may stay mounted for a while.
  if (mount.source.rfind("/dev/", 0) == 0) {
    struct stat st;
    if (::stat(mount.source.c_str(), &st) != 0) {
      SetLastErrorFromErrno(errno);
      return false;
    }
    if (S_ISBLK(st.st_mode)) text += '\n' + std::to_string(major(st.st_rdev)) + ':' + std::to_string(minor(st.st_rdev));
  }
  *identity = Utf8ToWide(text);
  return true;
}

bool QueryPathVolume(const std::wstring& path, std::wstring* root, std::wstring* fileSystem) {
  MountEntry mount;
  if (!MountOfPath(path, &mount)) return false;
  const MountEntry* best = &mount;
  *root = Utf8ToWide(best->mountPoint);
  std::wstring label;
  if (!QueryVolumeNames(*root, &label, fileSystem) || fileSystem->empty()) {
    *fileSystem = Utf8ToWide(FileSystemDisplayName(best->fsType, "", ""));
  }
  return true;
}

}  // namespace velkor::platform

namespace velkor::platform {

std::wstring ResolveSubstitutedLetter(const std::wstring& path) { return path; }

bool OnSameVolume(const std::wstring& a, const std::wstring& b) {
  struct stat first, second;
  if (::stat(NativePath(a).c_str(), &first) != 0 || ::stat(NativePath(b).c_str(), &second) != 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  return first.st_dev == second.st_dev;
}

namespace {

std::string DeviceNumbers(dev_t device) { return std::to_string(major(device)) + ":" + std::to_string(minor(device)); }

// The first entry of a sysfs "slaves" folder: a device the mapped or RAID device is made of.
std::string FirstSlave(const std::string& folder) {
  DIR* slaves = ::opendir((folder + "/slaves").c_str());
  if (slaves == nullptr) return std::string();
  std::string first;
  while (dirent* entry = ::readdir(slaves)) {
    if (entry->d_name[0] != '.') {
      first = entry->d_name;
      break;
    }
  }
  ::closedir(slaves);
  return first;
}

// The device behind the file system numbers device: the sysfs folder of the whole disk, following
// a loop device to its backing file, a device-mapper or RAID device to its first member and a
// partition to its disk; "fs MAJ:MIN" for a file system without a block device.
std::string PhysicalDeviceOf(dev_t device) {
  std::string folder = SysfsFolderOf(device);
  for (int depth = 0; depth < 16 && !folder.empty(); ++depth) {
    if (Exists(folder + "/partition")) {
      folder = folder.substr(0, folder.find_last_of('/'));
      continue;
    }
    const std::string backing = ReadAttribute(folder + "/loop/backing_file");
    struct stat st;
    if (!backing.empty() && ::stat(backing.c_str(), &st) == 0) {
      device = st.st_dev;
      folder = SysfsFolderOf(device);
      continue;
    }
    const std::string member = FirstSlave(folder);
    if (member.empty()) break;
    folder = RealPath("/sys/class/block/" + member);
  }
  return folder.empty() ? "fs " + DeviceNumbers(device) : folder;
}

}  // namespace

bool QueryPhysicalDevice(const std::wstring& path, std::wstring* device) {
  struct stat st;
  if (::stat(NativePath(path).c_str(), &st) != 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  // A file system in user space over a disk (fuseblk) or btrfs has device numbers of its own: its
  // mount names the block device.
  dev_t numbers = st.st_dev;
  MountEntry mount;
  dev_t block = 0;
  if (major(numbers) == 0 && MountOfPath(path, &mount) && BlockDeviceOf(mount, &block)) numbers = block;
  *device = Utf8ToWide(PhysicalDeviceOf(numbers));
  return true;
}

std::vector<std::wstring> SystemFolders() {
  std::vector<std::wstring> folders = {L"/"};
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == 0) {
    const passwd* user = ::getpwuid(::getuid());
    home = user != nullptr ? user->pw_dir : nullptr;
  }
  if (home != nullptr && *home != 0) folders.push_back(Utf8ToWide(home));
  return folders;
}

}  // namespace velkor::platform
