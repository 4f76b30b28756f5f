// Drive enumeration over the volumes of the machine the tests run on: under Wine the removable
// drive V: that scripts/wine-test-drive maps, natively this machine's mount table and, where the
// tests may mount, a RAM disk and a loop-mounted image.
#include "drives/enumerate.h"
#include "drives/target_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "common/localization.h"
#include "drives/classify.h"
#include "drives/drive_table.h"
#include "platform/files.h"
#include "platform/mount_table.h"
#include "platform/text.h"
#include "platform/volumes.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

bool OnWindows() { return platform::PathSeparator() == L'\\'; }

const DriveInfo* FindRow(const std::wstring& root) {
  for (const DriveInfo& row : DriveTable) {
    if (row.root == root) return &row;
  }
  return nullptr;
}

// Rows are consistent in themselves and sorted by root, as after start-up.
void ExpectWellFormedTable() {
  for (size_t i = 0; i < DriveTable.size(); ++i) {
    const DriveInfo& row = DriveTable[i];
    EXPECT_LE(row.freeBytes, row.totalBytes) << platform::WideToUtf8(row.root);
    EXPECT_DOUBLE_EQ(row.freePercent, FreePercent(row.freeBytes, row.totalBytes));
    EXPECT_FALSE(row.label.empty());
    EXPECT_FALSE(row.fileSystem.empty());
    EXPECT_EQ(row.status, TranslateIn(row.writeProtected  ? L"write_protect"
                                      : row.systemVolume ? L"system_volume"
                                                         : L"writable",
                                      kLanguageGerman));
    EXPECT_TRUE(row.bus == L"IDE/Direkt" || row.bus == L"USB/Wechselmedium" || row.bus == L"USB" ||
                row.bus == L"SD" || row.bus == L"SD/MMC")
        << platform::WideToUtf8(row.bus);
    if (i > 0) {
      EXPECT_LT(CompareTextNoCase(DriveTable[i - 1].root, row.root), 0);
    }
  }
}

TEST(EnumerateDrives, WineRemovableDriveV) {
  if (!OnWindows()) GTEST_SKIP() << "drive letters exist on Windows only";
  const std::wstring root = L"V:\\";
  if ((platform::LogicalDriveMask() & (1u << (L'V' - L'A'))) == 0) {
    GTEST_SKIP() << "no drive V: in this Wine prefix; scripts/wine-test-drive maps it (ctest runs it as the "
                    "wine_test_drive fixture)";
  }
  CurrentLanguage = kLanguageEnglish;
  EXPECT_TRUE(EnumerateDrives());
  EXPECT_NE(LastDriveMask & (1u << (L'V' - L'A')), 0u);
  ExpectWellFormedTable();
  const DriveInfo* row = FindRow(root);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(platform::DriveTypeOf(root), platform::kDriveRemovable);
  EXPECT_EQ(row->label, L"VELKORTEST");
  uint64_t freeBytes = 0, totalBytes = 0;
  ASSERT_TRUE(platform::GetVolumeSpace(root, &freeBytes, &totalBytes));
  EXPECT_EQ(row->totalBytes, totalBytes);
  EXPECT_GT(row->totalBytes, 0u);
  uint32_t bus = 0;
  const std::wstring expectedBus = platform::QueryStorageBusType(root, &bus)
                                       ? BusTypeOfStorageBus(bus, platform::kDriveRemovable).bus
                                       : L"USB/Wechselmedium";
  EXPECT_EQ(row->bus, expectedBus);
  EXPECT_FALSE(row->writeProtected);
  // The row's words are the files' German whatever the window's language; the window translates
  // them when it shows the row.
  EXPECT_EQ(row->status, L"Schreibbar");
  CurrentLanguage = kLanguageGerman;
}

TEST(EnumerateDrives, DriveQueriesOnWindowsRoots) {
  if (!OnWindows()) GTEST_SKIP() << "drive letters exist on Windows only";
  uint32_t mask = 0;
  const std::vector<std::wstring> roots = platform::ListVolumeRoots(&mask);
  ASSERT_FALSE(roots.empty());
  for (const std::wstring& root : roots) {
    ASSERT_EQ(root.size(), 3u);
    EXPECT_NE(mask & (1u << (root[0] - L'A')), 0u);
  }
  // A letter nobody uses answers every query with a failure.
  std::wstring unused;
  for (wchar_t letter = L'Z'; letter >= L'D'; --letter) {
    if ((mask & (1u << (letter - L'A'))) == 0) {
      unused = std::wstring{letter, L':', L'\\'};
      break;
    }
  }
  ASSERT_FALSE(unused.empty());
  EXPECT_EQ(platform::DriveTypeOf(unused), platform::kDriveNoRootDir);
  uint64_t freeBytes = 0, totalBytes = 0;
  EXPECT_FALSE(platform::GetVolumeSpace(unused, &freeBytes, &totalBytes));
  EXPECT_EQ(QueryBusType(unused, platform::kDriveRemovable).bus, L"USB/Wechselmedium");
  EXPECT_EQ(QueryBusType(unused, platform::kDriveFixed).bus, L"IDE/Direkt");
  EXPECT_FALSE(IsWriteProtected(unused));
  EXPECT_FALSE(IsNetworkOrCloudDrive(unused));
  EXPECT_EQ(FindRow(unused), nullptr);
}

TEST(EnumerateDrives, ThisMachinesMountTable) {
  if (OnWindows()) GTEST_SKIP() << "the mount table exists on Linux only";
  CurrentLanguage = kLanguageGerman;
  // Other tests mount and unmount meanwhile: take a scan the mount table did not change under.
  std::string text;
  for (int attempt = 0; attempt < 200; ++attempt) {
    const std::string before = testing::ReadFileBytes(L"/proc/self/mountinfo");
    EnumerateDrives();
    text = testing::ReadFileBytes(L"/proc/self/mountinfo");
    if (text == before) break;
  }
  ExpectWellFormedTable();
  std::map<std::string, platform::MountEntry> volumes;
  for (const platform::MountEntry& e : platform::VisibleVolumes(platform::ParseMountTable(text))) {
    volumes[e.mountPoint] = e;
  }
  ASSERT_FALSE(volumes.empty());
  for (const DriveInfo& row : DriveTable) {
    const std::string root = platform::WideToUtf8(row.root);
    ASSERT_EQ(volumes.count(root), 1u) << root << " is no mounted volume";
    const platform::MountEntry& volume = volumes[root];
    EXPECT_FALSE(platform::IsNetworkFileSystem(volume.fsType)) << root;
    EXPECT_EQ(volume.source.rfind("/dev/", 0), 0u) << root << " from " << volume.source;
    const uint32_t type = platform::DriveTypeOf(row.root);
    EXPECT_TRUE(type == platform::kDriveFixed || type == platform::kDriveRemovable) << root;
  }
  for (const char* pseudo : {"/proc", "/sys", "/dev", "/dev/shm", "/run"}) {
    EXPECT_EQ(FindRow(platform::Utf8ToWide(pseudo)), nullptr) << pseudo;
    if (volumes.count(pseudo)) {
      const uint32_t type = platform::DriveTypeOf(platform::Utf8ToWide(pseudo));
      EXPECT_TRUE(type != platform::kDriveFixed && type != platform::kDriveRemovable) << pseudo;
    }
  }
  if (volumes.count("/") && FindRow(L"/")) {
    std::wstring target;
    ASSERT_TRUE(platform::QueryDeviceTarget(L"/", &target));
    EXPECT_EQ(target.rfind(L"/dev/", 0), 0u);
  }
}

// Mounts that exist only while a test runs; unmounted before their folders go.
class Mounts {
 public:
  ~Mounts() {
    for (auto it = points_.rbegin(); it != points_.rend(); ++it) Run("umount -l '" + *it + "' 2>/dev/null");
  }
  bool Mount(const std::string& arguments, const std::string& point) {
    if (!Run("mount " + arguments + " '" + point + "' 2>/dev/null")) return false;
    points_.push_back(point);
    return true;
  }
  void Unmount(const std::string& point) {
    Run("umount '" + point + "' 2>/dev/null");
    points_.erase(std::remove(points_.begin(), points_.end(), point), points_.end());
  }
  static bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

 private:
  std::vector<std::string> points_;
};

TEST(EnumerateDrives, RamDiskAndDiskImageAreNeverOffered) {
  if (OnWindows()) GTEST_SKIP() << "mounts are made on Linux only";
  testing::TempFolder folder;
  const std::string ram = platform::WideToUtf8(folder.File(L"ram"));
  const std::string image = platform::WideToUtf8(folder.File(L"image"));
  const std::string imageFile = platform::WideToUtf8(folder.File(L"disk.img"));
  ASSERT_TRUE(platform::CreateFolder(folder.File(L"ram")));
  ASSERT_TRUE(platform::CreateFolder(folder.File(L"image")));
  Mounts mounts;
  if (!mounts.Mount("-t tmpfs -o size=1m velkor-test", ram)) GTEST_SKIP() << "this machine does not let tests mount";
  const bool haveImage =
      Mounts::Run("truncate -s 8M '" + imageFile + "' && mkfs.ext4 -q -F -L VELKORIMG '" + imageFile + "' >/dev/null 2>&1") &&
      mounts.Mount("-o loop '" + imageFile + "'", image);

  EnumerateDrives();
  EXPECT_EQ(FindRow(platform::Utf8ToWide(ram)), nullptr);
  EXPECT_EQ(platform::DriveTypeOf(platform::Utf8ToWide(ram)), platform::kDriveRamDisk);
  // Given by its path, it is named as memory.
  DriveInfo memory;
  ASSERT_TRUE(DescribeTestTarget(platform::Utf8ToWide(ram), &memory));
  EXPECT_TRUE(memory.inMemory);
  EXPECT_EQ(memory.bus, L"Arbeitsspeicher");
  if (!haveImage) GTEST_SKIP() << "no loop device or mkfs.ext4 here";

  const std::wstring imageRoot = platform::Utf8ToWide(image);
  EXPECT_EQ(FindRow(imageRoot), nullptr);
  EXPECT_EQ(platform::DriveTypeOf(imageRoot), platform::kDriveFixed);
  EXPECT_TRUE(QueryBusType(imageRoot, platform::kDriveFixed).isVirtual);
  EXPECT_EQ(QueryBusType(imageRoot, platform::kDriveFixed).bus, L"Virtuell");
  std::wstring label, fileSystem;
  EXPECT_TRUE(platform::QueryVolumeNames(imageRoot, &label, &fileSystem));
  EXPECT_EQ(fileSystem, L"ext4");
  EXPECT_EQ(label, L"VELKORIMG");
  std::wstring target;
  ASSERT_TRUE(platform::QueryDeviceTarget(imageRoot, &target));
  EXPECT_EQ(target.rfind(L"/dev/loop", 0), 0u);
  EXPECT_FALSE(IsWriteProtected(imageRoot));

  // Mounted read-only from a read-only device: both probes say so.
  mounts.Unmount(image);
  ASSERT_TRUE(mounts.Mount("-o loop,ro '" + imageFile + "'", image));
  uint32_t flags = 0;
  ASSERT_TRUE(platform::QueryVolumeFlags(imageRoot, &flags));
  EXPECT_NE(flags & platform::kFileReadOnlyVolume, 0u);
  EXPECT_TRUE(platform::DeviceReportsWriteProtect(imageRoot));
  EXPECT_TRUE(IsWriteProtected(imageRoot));
}

// The target of a running test is not asked for its device: its connection and write protection
// come from the row the caller already has; every other drive is asked as usual.
TEST(EnumerateDrives, TheBusyTargetKeepsItsKnownDeviceAnswers) {
  // Other tests mount and unmount images meanwhile: compare only two scans of the same mount table.
  std::vector<DriveInfo> plain;
  std::vector<DriveInfo> rows;
  DriveInfo known;
  uint32_t mask = 0;
  for (int attempt = 0; attempt < 200; ++attempt) {
    EnumerateDrives();
    if (DriveTable.empty()) GTEST_SKIP() << "no candidate drive on this machine";
    plain = DriveTable;
    known = plain[0];
    known.bus = L"Bekannt";
    known.writeProtected = true;
    rows = CollectDrives(&mask, known.root, {known});
    if (mask == LastDriveMask && platform::LogicalDriveMask() == mask) break;
  }
  ASSERT_EQ(mask, LastDriveMask) << "the mount table never held still";
  ASSERT_EQ(rows.size(), plain.size());
  for (const DriveInfo& row : rows) {
    const DriveInfo* before = FindRow(row.root);
    ASSERT_NE(before, nullptr) << platform::WideToUtf8(row.root);
    if (row.root == known.root) {
      EXPECT_EQ(row.bus, L"Bekannt");
      EXPECT_TRUE(row.writeProtected);
    } else {
      EXPECT_EQ(row.bus, before->bus) << platform::WideToUtf8(row.root);
      EXPECT_EQ(row.writeProtected, before->writeProtected);
    }
  }
  // Without a row of its own the busy drive gets the defaults of its drive type.
  const std::vector<DriveInfo> unknown = CollectDrives(&mask, known.root, {});
  for (const DriveInfo& row : unknown) {
    if (row.root == known.root) {
      EXPECT_EQ(row.bus, DefaultBusType(platform::DriveTypeOf(row.root)).bus);
    }
  }
}

}  // namespace
}  // namespace velkor
