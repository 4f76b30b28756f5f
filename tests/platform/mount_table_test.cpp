#include "platform/mount_table.h"

#include <gtest/gtest.h>

#include "platform/volumes.h"

namespace velkor::platform {
namespace {

TEST(MountTable, MountInfoLine) {
  MountEntry e;
  ASSERT_TRUE(ParseMountInfoLine(
      "31 22 8:17 / /media/anna/STICK\\040ONE rw,nosuid,nodev,relatime shared:700 master:3 - vfat /dev/sdb1 "
      "rw,uid=1000,codepage=437",
      &e));
  EXPECT_EQ(e.major, 8u);
  EXPECT_EQ(e.minor, 17u);
  EXPECT_EQ(e.root, "/");
  EXPECT_EQ(e.mountPoint, "/media/anna/STICK ONE");
  EXPECT_EQ(e.mountOptions, "rw,nosuid,nodev,relatime");
  EXPECT_EQ(e.fsType, "vfat");
  EXPECT_EQ(e.source, "/dev/sdb1");
  EXPECT_EQ(e.superOptions, "rw,uid=1000,codepage=437");

  ASSERT_TRUE(ParseMountInfoLine("40 1 0:45 /sub\\134dir /mnt/tab\\011x rw - tmpfs none rw", &e));
  EXPECT_EQ(e.root, "/sub\\dir");
  EXPECT_EQ(e.mountPoint, "/mnt/tab\tx");
  // Broken lines are no mount lines.
  for (const char* line : {"", "garbage", "31 22 8:17 / /mnt rw - vfat", "x 22 8:17 / /mnt rw - vfat /dev/a rw",
                           "31 22 817 / /mnt rw - vfat /dev/a rw", "31 22 8:17 / /mnt rw shared:1 vfat /dev/a rw"}) {
    EXPECT_FALSE(ParseMountInfoLine(line, &e)) << line;
  }
}

TEST(MountTable, ProcMountsLinesAndMixedText) {
  const std::vector<MountEntry> table = ParseMountTable(
      "/dev/sdb1 /media/stick vfat rw,nosuid 0 0\n"
      "server:/export /mnt/nfs nfs4 rw,vers=4.2 0 0\n"
      "not a mount line\n"
      "\n"
      "28 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n");
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(table[0].mountPoint, "/media/stick");
  EXPECT_EQ(table[0].root, "/");
  EXPECT_EQ(table[0].major, 0u);
  EXPECT_EQ(table[1].fsType, "nfs4");
  EXPECT_EQ(table[2].source, "/dev/vda");
  EXPECT_EQ(table[2].major, 254u);
}

TEST(MountTable, VisibleVolumes) {
  const std::vector<MountEntry> table = ParseMountTable(
      "22 1 259:2 / / rw - ext4 /dev/nvme0n1p2 rw\n"
      "39 22 259:2 /home/anna/projects /srv/projects rw - ext4 /dev/nvme0n1p2 rw\n"  // bind mount
      "40 22 8:17 / /mnt/a rw - vfat /dev/sdb1 rw\n"
      "41 22 8:33 / /mnt/a rw - vfat /dev/sdc1 rw\n"                                   // hides sdb1
      "50 22 0:40 /@home /home rw - btrfs /dev/sda3 rw\n"                              // subvolume first
      "51 22 0:40 / /mnt/pool rw - btrfs /dev/sda3 rw\n"                               // whole volume
      "52 22 0:41 /@data /data rw - btrfs /dev/sda4 rw\n");                            // only subvolume
  const std::vector<MountEntry> volumes = VisibleVolumes(table);
  std::vector<std::string> points;
  for (const MountEntry& e : volumes) points.push_back(e.mountPoint);
  EXPECT_EQ(points, (std::vector<std::string>{"/", "/mnt/a", "/mnt/pool", "/data"}));
  EXPECT_EQ(volumes[1].source, "/dev/sdc1");
}

TEST(MountTable, StampFollowsTheVolumes) {
  const std::string base =
      "22 1 259:2 / / rw - ext4 /dev/nvme0n1p2 rw\n"
      "23 22 0:21 / /proc rw - proc proc rw\n";
  const std::string withStick = base + "31 22 8:17 / /media/stick rw - vfat /dev/sdb1 rw\n";
  const std::string otherStick = base + "31 22 8:33 / /media/stick rw - vfat /dev/sdc1 rw\n";
  const uint32_t stamp = MountTableStamp(ParseMountTable(base));
  EXPECT_EQ(stamp, MountTableStamp(ParseMountTable(base)));
  EXPECT_NE(stamp, MountTableStamp(ParseMountTable(withStick)));
  EXPECT_NE(MountTableStamp(ParseMountTable(withStick)), MountTableStamp(ParseMountTable(otherStick)));
  // A bind mount of a volume already seen does not change the set of volumes.
  EXPECT_EQ(stamp, MountTableStamp(ParseMountTable(base + "39 22 259:2 /srv /srv rw - ext4 /dev/nvme0n1p2 rw\n")));
}

TEST(MountTable, ReadOnlyMounts) {
  MountEntry e;
  e.mountOptions = "ro,nosuid";
  EXPECT_TRUE(IsReadOnlyMount(e));
  e.mountOptions = "rw,nosuid";
  e.superOptions = "ro,errors=continue";
  EXPECT_TRUE(IsReadOnlyMount(e));
  e.superOptions = "rw,errors=remount-ro";  // "remount-ro" is no read-only mount
  EXPECT_FALSE(IsReadOnlyMount(e));
}

TEST(MountTable, FileSystemKinds) {
  for (const char* type : {"nfs", "nfs4", "cifs", "smb3", "9p", "ceph", "fuse.sshfs", "fuse.rclone",
                           "fuse.gvfsd-fuse", "fuse.s3fs", "fuse.onedriver", "davfs"}) {
    EXPECT_TRUE(IsNetworkFileSystem(type)) << type;
  }
  for (const char* type : {"ext4", "vfat", "exfat", "ntfs3", "fuseblk", "fuse", "fuse.encfs", "tmpfs", "btrfs"}) {
    EXPECT_FALSE(IsNetworkFileSystem(type)) << type;
  }
  EXPECT_TRUE(IsBlockFuse("fuseblk"));
  EXPECT_TRUE(IsBlockFuse("fuseblk.ntfs-3g"));
  EXPECT_FALSE(IsBlockFuse("fuse.sshfs"));
  EXPECT_FALSE(IsBlockFuse("fuse"));
}

TEST(MountTable, FileSystemNamesAsWindowsShowsThem) {
  struct Case {
    const char* type;
    const char* probedType;
    const char* probedVersion;
    const char* name;
  };
  const Case cases[] = {
      {"vfat", "vfat", "FAT32", "FAT32"}, {"vfat", "vfat", "FAT16", "FAT"}, {"vfat", "", "", "FAT32"},
      {"msdos", "", "", "FAT"},           {"exfat", "", "", "exFAT"},       {"ntfs3", "", "", "NTFS"},
      {"ntfs", "", "", "NTFS"},           {"fuseblk", "exfat", "1.0", "exFAT"},
      {"fuseblk", "ntfs", "", "NTFS"},    {"fuseblk.ntfs-3g", "", "", "NTFS"}, {"fuseblk", "", "", "fuseblk"},
      {"ext4", "ext4", "1.0", "ext4"},    {"btrfs", "", "", "btrfs"},       {"udf", "", "", "UDF"},
      // Any FAT driver over a device whose bytes say FAT32 plans for FAT32's file limit.
      {"msdos", "vfat", "FAT32", "FAT32"}, {"fuseblk", "vfat", "FAT32", "FAT32"},
      {"fuseblk.fusefat", "vfat", "FAT32", "FAT32"}, {"fuseblk", "vfat", "FAT12", "FAT"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileSystemDisplayName(c.type, c.probedType, c.probedVersion), c.name) << c.type << "/" << c.probedType;
  }
}

// Without a udev database the device's first sector names the file system.
TEST(MountTable, BootSectorProbe) {
  auto sector = [](size_t at, const char* name) {
    std::string s(512, '\0');
    s.replace(at, 8, name);
    s[510] = '\x55';
    s[511] = '\xAA';
    return s;
  };
  const struct {
    std::string sector;
    bool known;
    const char* type;
    const char* version;
  } cases[] = {
      {sector(82, "FAT32   "), true, "vfat", "FAT32"}, {sector(54, "FAT16   "), true, "vfat", "FAT16"},
      {sector(54, "FAT12   "), true, "vfat", "FAT12"}, {sector(3, "EXFAT   "), true, "exfat", ""},
      {sector(3, "NTFS    "), true, "ntfs", ""},      {sector(3, "XFSB    "), false, "", ""},
      {sector(82, "FAT32   ").substr(0, 511), false, "", ""},
      {std::string(sector(82, "FAT32   ")).replace(510, 2, "\0\0", 2), false, "", ""},
  };
  for (const auto& c : cases) {
    std::string type, version;
    EXPECT_EQ(ProbeBootSector(c.sector, &type, &version), c.known) << c.type;
    if (c.known) {
      EXPECT_EQ(type, c.type);
      EXPECT_EQ(version, c.version);
    }
  }
}

TEST(MountTable, UdevDatabaseAndEscapes) {
  const std::string database =
      "S:disk/by-label/MY\\x20STICK\n"
      "E:ID_FS_LABEL=MY_STICK\n"
      "E:ID_FS_LABEL_ENC=MY\\x20STICK\n"
      "E:ID_FS_TYPE=vfat\n"
      "E:ID_FS_VERSION=FAT32\n"
      "E:ID_FS_TYPE_EXTRA=x\n";
  EXPECT_EQ(UdevProperty(database, "ID_FS_TYPE"), "vfat");
  EXPECT_EQ(UdevProperty(database, "ID_FS_VERSION"), "FAT32");
  EXPECT_EQ(UdevProperty(database, "ID_FS_LABEL"), "MY_STICK");
  EXPECT_EQ(UdevProperty(database, "ID_FS_UUID"), "");
  EXPECT_EQ(UdevProperty("", "ID_FS_TYPE"), "");
  EXPECT_EQ(DecodeUdevEscapes(UdevProperty(database, "ID_FS_LABEL_ENC")), "MY STICK");
  EXPECT_EQ(DecodeUdevEscapes("Gr\\xc3\\xb6\\xc3\\x9fe\\x2fX"), "Gr\xc3\xb6\xc3\x9f" "e/X");
  EXPECT_EQ(DecodeUdevEscapes("\\x2"), "\\x2");   // cut short
  EXPECT_EQ(DecodeUdevEscapes("\\xzz"), "\\xzz");  // no hex digits
}

TEST(MountTable, StorageBusOfTheDevicePath) {
  struct Case {
    const char* name;
    const char* path;
    const char* mmcType;
    uint32_t bus;
  };
  const Case cases[] = {
      {"sdb1", "/sys/devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb/sdb1", "",
       kBusUsb},
      {"mmcblk0p1", "/sys/devices/pci0000:00/0000:00:14.5/mmc_host/mmc0/mmc0:aaaa/block/mmcblk0/mmcblk0p1", "SD",
       kBusSd},
      {"mmcblk1", "/sys/devices/platform/soc/fe340000.mmc/mmc_host/mmc1/mmc1:0001/block/mmcblk1", "MMC", kBusMmc},
      {"nvme0n1p2", "/sys/devices/pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0/nvme0n1/nvme0n1p2", "", kBusNvme},
      {"sda2", "/sys/devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/sda/sda2", "", kBusSata},
      {"vda", "/sys/devices/pci0000:00/0000:00:02.0/virtio1/block/vda", "", kBusScsi},
      {"sdf", "/sys/devices/pci0000:00/0000:00:03.0/0000:02:00.0/host4/target4:0:1/4:0:1:0/block/sdf", "", kBusScsi},
      {"loop3", "/sys/devices/virtual/block/loop3", "", kBusFileBackedVirtual},
      {"zram0", "/sys/devices/virtual/block/zram0", "", kBusVirtual},
      {"md0", "/sys/devices/virtual/block/md0", "", kBusRaid},
      {"dm-0", "/sys/devices/virtual/block/dm-0", "", kBusUnknown},
      {"nbd0", "/sys/devices/virtual/block/nbd0", "", kBusIscsi},
      {"sdg1", "/sys/devices/pci0000:00/0000:00:1c.0/fw0/fw0.0/host9/target9:0:0/9:0:0:0/block/sdg/sdg1", "",
       kBus1394},
      {"weird", "/sys/devices/platform/something/block/weird", "", kBusUnknown},
  };
  for (const Case& c : cases) {
    BlockDeviceFacts facts;
    facts.name = c.name;
    facts.sysfsPath = c.path;
    facts.mmcType = c.mmcType;
    EXPECT_EQ(StorageBusOfDevice(facts), c.bus) << c.name;
  }
}

TEST(StorageDescriptor, BusFieldAtByte28) {
  uint8_t descriptor[64] = {};
  descriptor[28] = 7;  // BusTypeUsb, little-endian
  uint32_t bus = 99;
  EXPECT_TRUE(StorageBusOfDescriptor(descriptor, 40, &bus));
  EXPECT_EQ(bus, kBusUsb);
  descriptor[28] = 0x11;
  descriptor[29] = 0x01;
  EXPECT_TRUE(StorageBusOfDescriptor(descriptor, 64, &bus));
  EXPECT_EQ(bus, 0x111u);
  bus = 99;
  EXPECT_FALSE(StorageBusOfDescriptor(descriptor, 39, &bus));  // the device did not fill it
  EXPECT_FALSE(StorageBusOfDescriptor(nullptr, 64, &bus));
  EXPECT_EQ(bus, 99u);
}

}  // namespace
}  // namespace velkor::platform
