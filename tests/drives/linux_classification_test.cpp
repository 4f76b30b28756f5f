// Which mounted volumes of a Linux machine become drives, decided from the mount table and the
// sysfs facts alone. The fixtures are shaped like real machines.
#include <gtest/gtest.h>

#include <map>

#include "drives/classify.h"
#include "platform/mount_table.h"
#include "platform/volumes.h"

namespace velkor {
namespace {

using platform::BlockDeviceFacts;
using platform::MountEntry;

// A laptop with a USB stick, a card in the built-in SD reader, an exFAT stick through FUSE, a
// write-protected card in a USB reader, a USB hard disk, a DVD, snap and image loop mounts and
// the usual network, sync and pseudo file systems.
const char kLaptopMountInfo[] =
    "22 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro\n"
    "23 22 0:21 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw\n"
    "24 22 0:22 / /sys rw,nosuid,nodev,noexec,relatime shared:7 - sysfs sysfs rw\n"
    "25 22 0:5 / /dev rw,nosuid,relatime shared:2 - devtmpfs udev rw,size=8000000k,mode=755\n"
    "26 22 0:25 / /run rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw,size=1600000k,mode=755\n"
    "27 22 259:1 / /boot/efi rw,relatime shared:30 - vfat /dev/nvme0n1p1 rw,fmask=0077,dmask=0077\n"
    "28 22 7:3 / /snap/core22/1380 ro,nodev,relatime shared:31 - squashfs /dev/loop3 ro,errors=continue\n"
    "29 26 0:50 / /run/user/1000 rw,nosuid,nodev,relatime shared:600 - tmpfs tmpfs rw,mode=700,uid=1000\n"
    "30 29 0:51 / /run/user/1000/gvfs rw,nosuid,nodev,relatime shared:650 - fuse.gvfsd-fuse gvfsd-fuse "
    "rw,user_id=1000,group_id=1000\n"
    "31 22 8:17 / /media/anna/STICK\\040ONE rw,nosuid,nodev,relatime shared:700 - vfat /dev/sdb1 "
    "rw,uid=1000,gid=1000,fmask=0022,dmask=0022,codepage=437,shortname=mixed,utf8,flush,errors=remount-ro\n"
    "32 22 179:1 / /media/anna/CARD rw,nosuid,nodev,relatime shared:710 - exfat /dev/mmcblk0p1 "
    "rw,uid=1000,gid=1000,fmask=0022,dmask=0022,iocharset=utf8,errors=remount-ro\n"
    "33 22 8:33 / /media/anna/EXFATSTICK rw,nosuid,nodev,relatime shared:720 - fuseblk /dev/sdc1 "
    "rw,user_id=0,group_id=0,default_permissions,allow_other,blksize=4096\n"
    "34 22 0:60 / /mnt/nas rw,relatime shared:730 - nfs4 nas.local:/export/media "
    "rw,vers=4.2,rsize=1048576,wsize=1048576,hard,proto=tcp,addr=192.168.1.10\n"
    "35 22 0:61 / /home/anna/OneDrive rw,nosuid,nodev,relatime shared:740 - fuse.rclone onedrive: "
    "rw,user_id=1000,group_id=1000\n"
    "36 22 7:8 / /mnt/image rw,relatime shared:750 - ext4 /dev/loop8 rw\n"
    "37 22 8:49 / /media/anna/LOCKED ro,nosuid,nodev,relatime shared:760 - vfat /dev/sdd1 ro,uid=1000\n"
    "38 22 0:62 / /mnt/smb rw,relatime shared:770 - cifs //server/share rw,vers=3.1.1\n"
    "39 22 259:2 /home/anna/projects /srv/projects rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw\n"
    "40 22 8:1 / /mnt/usbdisk rw,relatime shared:780 - ext4 /dev/sda1 rw\n"
    "41 22 0:63 / /mnt/ssh rw,nosuid,nodev,relatime shared:790 - fuse.sshfs anna@server:/home/anna rw\n"
    "42 22 11:0 / /media/anna/DVD ro,nosuid,nodev,relatime shared:800 - iso9660 /dev/sr0 ro\n"
    "43 22 0:64 / /tmp rw,nosuid,nodev shared:810 - tmpfs tmpfs rw\n"
    "44 22 7:9 / /mnt/cloudsync rw,relatime shared:820 - ext4 /dev/loop9 rw\n";

// sysfs as the devices of that laptop show it.
std::map<std::string, BlockDeviceFacts> LaptopDevices() {
  const std::string pci = "/sys/devices/pci0000:00/";
  auto facts = [](const char* name, std::string path, const char* removable, const char* readOnly,
                  const char* mmcType) {
    return BlockDeviceFacts{name, std::move(path), removable, readOnly, mmcType};
  };
  return {
      {"/dev/nvme0n1p2",
       facts("nvme0n1p2", pci + "0000:00:1d.0/0000:3d:00.0/nvme/nvme0/nvme0n1/nvme0n1p2", "0", "0", "")},
      {"/dev/nvme0n1p1",
       facts("nvme0n1p1", pci + "0000:00:1d.0/0000:3d:00.0/nvme/nvme0/nvme0n1/nvme0n1p1", "0", "0", "")},
      {"/dev/loop3", facts("loop3", "/sys/devices/virtual/block/loop3", "0", "1", "")},
      {"/dev/loop8", facts("loop8", "/sys/devices/virtual/block/loop8", "0", "0", "")},
      {"/dev/loop9", facts("loop9", "/sys/devices/virtual/block/loop9", "0", "0", "")},
      {"/dev/sdb1",
       facts("sdb1", pci + "0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb/sdb1", "1", "0", "")},
      {"/dev/mmcblk0p1",
       facts("mmcblk0p1", pci + "0000:00:14.5/mmc_host/mmc0/mmc0:aaaa/block/mmcblk0/mmcblk0p1", "0", "0", "SD")},
      {"/dev/sdc1",
       facts("sdc1", pci + "0000:00:14.0/usb1/1-2/1-2:1.0/host7/target7:0:0/7:0:0:0/block/sdc/sdc1", "1", "0", "")},
      {"/dev/sdd1",
       facts("sdd1", pci + "0000:00:14.0/usb1/1-3/1-3:1.0/host8/target8:0:0/8:0:0:0/block/sdd/sdd1", "1", "1", "")},
      {"/dev/sda1",
       facts("sda1", pci + "0000:00:14.0/usb2/2-2/2-2:1.0/host5/target5:0:0/5:0:0:0/block/sda/sda1", "0", "0", "")},
      {"/dev/sr0", facts("sr0", pci + "0000:00:17.0/ata2/host1/target1:0:0/1:0:0:0/block/sr0", "1", "1", "")},
  };
}

struct Classified {
  bool offered = false;
  uint32_t driveType = 0;
  std::wstring bus;
  bool readOnly = false;
};

// The drive enumeration's decisions for one volume: local fixed or removable, not a network or
// sync target, not a virtual disk.
Classified Classify(const MountEntry& volume, const std::map<std::string, BlockDeviceFacts>& devices) {
  const auto found = devices.find(volume.source);
  const BlockDeviceFacts* device = found == devices.end() ? nullptr : &found->second;
  Classified c;
  c.driveType = platform::DriveTypeOfVolume(volume, device);
  if (c.driveType != platform::kDriveRemovable && c.driveType != platform::kDriveFixed) return c;
  const std::string target = device ? "/dev/" + device->name : volume.source;
  if (IsNetworkOrCloudTarget(std::wstring(target.begin(), target.end()))) return c;
  const BusTypeInfo bus = BusTypeOfStorageBus(platform::StorageBusOfDevice(*device), c.driveType);
  if (bus.isVirtual) return c;
  c.offered = true;
  c.bus = bus.bus;
  c.readOnly = platform::IsReadOnlyMount(volume) || device->readOnly == "1";
  return c;
}

TEST(LinuxVolumes, LaptopOffersItsLocalDisksSticksAndCards) {
  const std::map<std::string, BlockDeviceFacts> devices = LaptopDevices();
  std::map<std::string, Classified> result;
  for (const MountEntry& volume : platform::VisibleVolumes(platform::ParseMountTable(kLaptopMountInfo))) {
    result[volume.mountPoint] = Classify(volume, devices);
  }
  struct Expected {
    const char* mountPoint;
    uint32_t driveType;
    const wchar_t* bus;  // null: not offered
    bool readOnly;
  };
  const Expected expected[] = {
      {"/", platform::kDriveFixed, L"IDE/Direkt", false},
      {"/boot/efi", platform::kDriveFixed, L"IDE/Direkt", false},
      {"/media/anna/STICK ONE", platform::kDriveRemovable, L"USB", false},
      {"/media/anna/CARD", platform::kDriveRemovable, L"SD", false},
      {"/media/anna/EXFATSTICK", platform::kDriveRemovable, L"USB", false},  // exFAT through FUSE
      {"/media/anna/LOCKED", platform::kDriveRemovable, L"USB", true},
      {"/mnt/usbdisk", platform::kDriveFixed, L"USB", false},                // USB hard disk
      {"/proc", platform::kDriveUnknown, nullptr, false},
      {"/sys", platform::kDriveUnknown, nullptr, false},
      {"/dev", platform::kDriveUnknown, nullptr, false},
      {"/run", platform::kDriveRamDisk, nullptr, false},
      {"/tmp", platform::kDriveRamDisk, nullptr, false},
      {"/run/user/1000", platform::kDriveRamDisk, nullptr, false},
      {"/run/user/1000/gvfs", platform::kDriveRemote, nullptr, false},
      {"/snap/core22/1380", platform::kDriveFixed, nullptr, false},  // loop: file-backed virtual
      {"/mnt/image", platform::kDriveFixed, nullptr, false},
      {"/mnt/cloudsync", platform::kDriveFixed, nullptr, false},
      {"/mnt/nas", platform::kDriveRemote, nullptr, false},
      {"/mnt/smb", platform::kDriveRemote, nullptr, false},
      {"/mnt/ssh", platform::kDriveRemote, nullptr, false},
      {"/home/anna/OneDrive", platform::kDriveRemote, nullptr, false},
      {"/media/anna/DVD", platform::kDriveCdRom, nullptr, false},
  };
  EXPECT_EQ(result.size(), sizeof(expected) / sizeof(expected[0]));  // the bind mount is no volume
  EXPECT_EQ(result.count("/srv/projects"), 0u);
  for (const Expected& e : expected) {
    ASSERT_EQ(result.count(e.mountPoint), 1u) << e.mountPoint;
    const Classified& c = result[e.mountPoint];
    EXPECT_EQ(c.driveType, e.driveType) << e.mountPoint;
    EXPECT_EQ(c.offered, e.bus != nullptr) << e.mountPoint;
    if (e.bus) {
      EXPECT_EQ(c.bus, e.bus) << e.mountPoint;
      EXPECT_EQ(c.readOnly, e.readOnly) << e.mountPoint;
    }
  }
}

// A desktop with SATA disks and a virtual machine with virtio disks, read from /proc/mounts.
TEST(LinuxVolumes, DesktopAndVirtualMachineFromProcMounts) {
  const char mounts[] =
      "/dev/sda2 / ext4 rw,relatime 0 0\n"
      "/dev/sdb1 /data xfs rw,relatime 0 0\n"
      "/dev/vda1 /srv/vm ext4 rw 0 0\n"
      "/dev/mmcblk1p1 /mnt/emmc ext4 rw 0 0\n"
      "tmpfs /dev/shm tmpfs rw 0 0\n"
      "/dev/zram0 /var/cache/z ext4 rw 0 0\n";
  const std::string pci = "/sys/devices/pci0000:00/";
  const std::map<std::string, BlockDeviceFacts> devices = {
      {"/dev/sda2", {"sda2", pci + "0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/sda/sda2", "0", "0", ""}},
      {"/dev/sdb1", {"sdb1", pci + "0000:00:17.0/ata2/host1/target1:0:0/1:0:0:0/block/sdb/sdb1", "0", "0", ""}},
      {"/dev/vda1", {"vda1", pci + "0000:00:02.0/virtio1/block/vda/vda1", "0", "0", ""}},
      {"/dev/mmcblk1p1",
       {"mmcblk1p1", "/sys/devices/platform/soc/fe340000.mmc/mmc_host/mmc1/mmc1:0001/block/mmcblk1/mmcblk1p1", "0",
        "0", "MMC"}},
      {"/dev/zram0", {"zram0", "/sys/devices/virtual/block/zram0", "0", "0", ""}},
  };
  std::map<std::string, Classified> result;
  for (const MountEntry& volume : platform::VisibleVolumes(platform::ParseMountTable(mounts))) {
    result[volume.mountPoint] = Classify(volume, devices);
  }
  ASSERT_EQ(result.size(), 6u);
  EXPECT_EQ(result["/"].bus, L"IDE/Direkt");
  EXPECT_EQ(result["/data"].bus, L"IDE/Direkt");
  EXPECT_EQ(result["/srv/vm"].bus, L"IDE/Direkt");
  EXPECT_EQ(result["/mnt/emmc"].bus, L"SD/MMC");  // built-in eMMC: fixed
  EXPECT_EQ(result["/mnt/emmc"].driveType, platform::kDriveFixed);
  EXPECT_FALSE(result["/dev/shm"].offered);
  EXPECT_FALSE(result["/var/cache/z"].offered);  // RAM-backed block device: virtual
}

}  // namespace
}  // namespace velkor
