#include "drives/classify.h"

#include <gtest/gtest.h>

#include "common/localization.h"
#include "platform/volumes.h"

namespace velkor {
namespace {

TEST(NetworkOrCloudTarget, TheSevenMarksInAnyCase) {
  const wchar_t* network[] = {
      L"\\Device\\Mup\\server\\share",
      L"\\DEVICE\\MUP",
      L"\\Device\\LanmanRedirector\\;Z:000000000001a2b3\\server\\share",
      L"\\??\\UNC\\server\\share",
      L"\\??\\unc\\Server\\Share",
      L"\\??\\C:\\Users\\anna\\GoogleDrive",
      L"\\??\\C:\\Users\\anna\\OneDrive - Firma",
      L"\\??\\C:\\Users\\anna\\ONEDRIVE",
      L"\\??\\C:\\Users\\anna\\oNeDrIvE",
      L"\\??\\D:\\DropBox",
      L"\\Device\\CloudStore1",
      L"/dev/mapper/mycloud",
  };
  for (const wchar_t* target : network) {
    EXPECT_TRUE(IsNetworkOrCloudTarget(target)) << std::wstring(target).size();
  }
  const wchar_t* local[] = {
      L"\\Device\\HarddiskVolume3", L"\\Device\\Harddisk1\\DP(1)0-0+5", L"\\??\\C:\\Users\\anna\\Pictures",
      L"\\Device\\Mu", L"\\??\\UN\\server", L"/dev/sdb1", L"", L"\\Device\\clou d",
  };
  for (const wchar_t* target : local) EXPECT_FALSE(IsNetworkOrCloudTarget(target)) << std::wstring(target).size();
}

TEST(BusType, EveryStorageBus) {
  struct Case {
    uint32_t bus;
    const wchar_t* removableText;  // drive type removable (2)
    const wchar_t* fixedText;      // drive type fixed (3)
    bool isVirtual;
  };
  const Case cases[] = {
      {0, L"USB/Wechselmedium", L"IDE/Direkt", false},   // Unknown
      {1, L"IDE/Direkt", L"IDE/Direkt", false},          // Scsi
      {2, L"IDE/Direkt", L"IDE/Direkt", false},          // Atapi
      {3, L"IDE/Direkt", L"IDE/Direkt", false},          // Ata
      {4, L"USB/Wechselmedium", L"IDE/Direkt", false},   // 1394
      {5, L"USB/Wechselmedium", L"IDE/Direkt", false},   // Ssa
      {6, L"USB/Wechselmedium", L"IDE/Direkt", false},   // Fibre
      {7, L"USB", L"USB", false},                        // Usb
      {8, L"IDE/Direkt", L"IDE/Direkt", false},          // RAID
      {9, L"USB/Wechselmedium", L"IDE/Direkt", false},   // iScsi
      {10, L"IDE/Direkt", L"IDE/Direkt", false},         // Sas
      {11, L"IDE/Direkt", L"IDE/Direkt", false},         // Sata
      {12, L"SD", L"SD", false},                         // Sd
      {13, L"SD/MMC", L"SD/MMC", false},                 // Mmc
      {14, L"Virtuell", L"Virtuell", true},              // Virtual
      {15, L"Virtuell", L"Virtuell", true},              // FileBackedVirtual
      {16, L"USB/Wechselmedium", L"IDE/Direkt", false},  // Spaces
      {17, L"IDE/Direkt", L"IDE/Direkt", false},         // NVMe
      {18, L"USB/Wechselmedium", L"IDE/Direkt", false},  // SCM and anything newer
      {19, L"USB/Wechselmedium", L"IDE/Direkt", false},
      {0x7FFFFFFF, L"USB/Wechselmedium", L"IDE/Direkt", false},
  };
  for (const Case& c : cases) {
    const BusTypeInfo removable = BusTypeOfStorageBus(c.bus, platform::kDriveRemovable);
    const BusTypeInfo fixed = BusTypeOfStorageBus(c.bus, platform::kDriveFixed);
    EXPECT_EQ(removable.bus, c.removableText) << c.bus;
    EXPECT_EQ(fixed.bus, c.fixedText) << c.bus;
    EXPECT_EQ(removable.isVirtual, c.isVirtual) << c.bus;
    EXPECT_EQ(fixed.isVirtual, c.isVirtual) << c.bus;
  }
  EXPECT_EQ(DefaultBusType(platform::kDriveRemovable).bus, L"USB/Wechselmedium");
  EXPECT_EQ(DefaultBusType(platform::kDriveFixed).bus, L"IDE/Direkt");
  EXPECT_FALSE(DefaultBusType(platform::kDriveRemovable).isVirtual);
}

TEST(FreePercent, ShareOfTheTotal) {
  EXPECT_DOUBLE_EQ(FreePercent(0, 0), 0.0);
  EXPECT_DOUBLE_EQ(FreePercent(123, 0), 0.0);
  EXPECT_DOUBLE_EQ(FreePercent(50, 200), 25.0);
  EXPECT_DOUBLE_EQ(FreePercent(200, 200), 100.0);
  // Sizes past 2^63 count as unsigned.
  EXPECT_DOUBLE_EQ(FreePercent(UINT64_MAX / 2 + 1, UINT64_MAX), 50.0);
  EXPECT_DOUBLE_EQ(FreePercent(UINT64_MAX, UINT64_MAX), 100.0);
}

TEST(DriveRow, TextsComeFromTheLanguageOfTheMoment) {
  CurrentLanguage = kLanguageEnglish;
  const DriveInfo unnamed = MakeDriveInfo(L"E:\\", L"", L"", L"USB", 0, 0, true);
  EXPECT_EQ(unnamed.label, L"no name");
  EXPECT_EQ(unnamed.fileSystem, L"unknown");
  EXPECT_EQ(unnamed.status, L"Write-protected");
  EXPECT_TRUE(unnamed.writeProtected);
  EXPECT_DOUBLE_EQ(unnamed.freePercent, 0.0);
  CurrentLanguage = kLanguageFrench;
  EXPECT_EQ(unnamed.label, L"no name");  // a made row keeps its words
  const DriveInfo named = MakeDriveInfo(L"F:\\", L"STICK", L"FAT32", L"SD", 1000, 250, false);
  EXPECT_EQ(named.label, L"STICK");
  EXPECT_EQ(named.fileSystem, L"FAT32");
  EXPECT_EQ(named.status, L"Inscriptible");
  EXPECT_EQ(named.bus, L"SD");
  EXPECT_DOUBLE_EQ(named.freePercent, 25.0);
  CurrentLanguage = kLanguageGerman;
  EXPECT_EQ(MakeDriveInfo(L"G:\\", L"", L"", L"", 1, 1, false).label, L"ohne Namen");
  EXPECT_EQ(MakeDriveInfo(L"G:\\", L"", L"", L"", 1, 1, false).status, L"Schreibbar");
}

TEST(DriveRow, TheSystemVolumeSaysSoInItsStatus) {
  for (int language = 0; language < kLanguageCount; ++language) {
    CurrentLanguage = language;
    DriveInfo system = MakeDriveInfo(L"C:\\", L"", L"NTFS", L"IDE/Direkt", 1000, 250, false);
    MarkSystemVolume(system);
    EXPECT_TRUE(system.systemVolume);
    EXPECT_EQ(system.status, TranslateIn(L"system_volume", language));
    // Write protection says more about a drive than being the system's.
    DriveInfo locked = MakeDriveInfo(L"C:\\", L"", L"NTFS", L"IDE/Direkt", 1000, 250, true);
    MarkSystemVolume(locked);
    EXPECT_EQ(locked.status, TranslateIn(L"write_protect", language));
  }
  CurrentLanguage = kLanguageGerman;
}

}  // namespace
}  // namespace velkor
