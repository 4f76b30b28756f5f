#include "drives/classify.h"
#include "drives/drive_table.h"

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

// The drive keeps German words (the log and the results file take them); its cells show them in
// the language of the moment, so a language switch relabels the rows at once.
TEST(DriveRow, GermanWordsShownInTheLanguageOfTheMoment) {
  CurrentLanguage = kLanguageEnglish;
  const DriveInfo unnamed = MakeDriveInfo(L"E:\\", L"", L"", L"USB/Wechselmedium", 0, 0, true);
  EXPECT_EQ(unnamed.label, L"ohne Namen");
  EXPECT_EQ(unnamed.fileSystem, L"unbekannt");
  EXPECT_EQ(unnamed.status, L"Schreibschutz");
  EXPECT_TRUE(unnamed.writeProtected);
  EXPECT_DOUBLE_EQ(unnamed.freePercent, 0.0);
  const struct {
    int language;
    const wchar_t* cells[4];  // name, file system, connection, status
  } cases[] = {
      {kLanguageGerman, {L"ohne Namen", L"unbekannt", L"USB/Wechselmedium", L"Schreibschutz"}},
      {kLanguageEnglish, {L"no name", L"unknown", L"USB/removable", L"Write-protected"}},
      {kLanguageFrench, {L"sans nom", L"inconnu", L"USB/amovible", L"Protégé"}},
      {kLanguageSpanish, {L"sin nombre", L"desconocido", L"USB/extraíble", L"Protegido"}},
  };
  for (const auto& c : cases) {
    CurrentLanguage = c.language;
    const int columns[] = {1, 2, 6, 7};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(DriveCellText(unnamed, columns[i]), c.cells[i]) << c.language;
  }
  // A drive's own label and file system stay as they are.
  const DriveInfo named = MakeDriveInfo(L"F:\\", L"STICK", L"FAT32", L"SD", 1000, 250, false);
  CurrentLanguage = kLanguageFrench;
  EXPECT_EQ(DriveCellText(named, 1), L"STICK");
  EXPECT_EQ(DriveCellText(named, 2), L"FAT32");
  EXPECT_EQ(DriveCellText(named, 6), L"SD");
  EXPECT_EQ(DriveCellText(named, 7), L"Inscriptible");
  EXPECT_DOUBLE_EQ(named.freePercent, 25.0);
  CurrentLanguage = kLanguageGerman;
}

TEST(DriveRow, TheSystemVolumeSaysSoInItsStatus) {
  for (int language = 0; language < kLanguageCount; ++language) {
    CurrentLanguage = language;
    DriveInfo system = MakeDriveInfo(L"C:\\", L"", L"NTFS", L"IDE/Direkt", 1000, 250, false);
    MarkSystemVolume(system);
    EXPECT_TRUE(system.systemVolume);
    EXPECT_EQ(system.status, L"System");
    EXPECT_EQ(DriveCellText(system, 7), TranslateIn(L"system_volume", language));
    // Write protection says more about a drive than being the system's.
    DriveInfo locked = MakeDriveInfo(L"C:\\", L"", L"NTFS", L"IDE/Direkt", 1000, 250, true);
    MarkSystemVolume(locked);
    EXPECT_EQ(DriveCellText(locked, 7), TranslateIn(L"write_protect", language));
  }
  CurrentLanguage = kLanguageGerman;
}

}  // namespace
}  // namespace velkor
