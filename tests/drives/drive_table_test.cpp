#include "drives/drive_table.h"

#include <gtest/gtest.h>

#include "common/localization.h"
#include "drives/classify.h"
#include "drives/enumerate.h"

namespace velkor {
namespace {

std::vector<DriveInfo> SampleDrives() {
  return {
      MakeDriveInfo(L"C:\\", L"System", L"NTFS", L"IDE/Direkt", 512ull << 30, 100ull << 30, false),
      MakeDriveInfo(L"e:\\", L"stick", L"FAT32", L"USB", 16ull << 30, 15ull << 30, false),
      MakeDriveInfo(L"F:\\", L"Card", L"exFAT", L"SD", 64ull << 30, 1ull << 30, true),
      MakeDriveInfo(L"D:\\", L"Backup", L"NTFS", L"USB", 2048ull << 30, 1024ull << 30, false),
  };
}

std::vector<std::wstring> Roots(const std::vector<DriveInfo>& drives) {
  std::vector<std::wstring> roots;
  for (const DriveInfo& d : drives) roots.push_back(d.root);
  return roots;
}

TEST(DriveTable, TheDefaultRowIsNeverTheSystemDrive) {
  std::vector<DriveInfo> drives = SampleDrives();
  EXPECT_EQ(DefaultDriveRow(drives), 0u);
  MarkSystemVolume(drives[0]);
  EXPECT_EQ(DefaultDriveRow(drives), 1u);
  MarkSystemVolume(drives[1]);  // Linux: "/" and the home volume
  EXPECT_EQ(DefaultDriveRow(drives), 2u);
  std::vector<DriveInfo> onlySystem = {drives[0]};
  EXPECT_EQ(DefaultDriveRow(onlySystem), 0u);  // the only drive there is
}

TEST(DriveTable, CompareByColumn) {
  const std::vector<DriveInfo> d = SampleDrives();
  EXPECT_LT(CompareDrives(d[0], d[1], 0), 0);  // "C:\" before "e:\" whatever the case
  EXPECT_LT(CompareDrives(d[1], d[2], 0), 0);  // "e:\" before "F:\"
  EXPECT_LT(CompareDrives(d[1], d[0], 1), 0);  // "stick" vs "System": s-t before s-y
  EXPECT_EQ(CompareDrives(d[0], d[3], 2), 0);  // both NTFS
  EXPECT_LT(CompareDrives(d[1], d[2], 3), 0);  // 16 GB before 64 GB, by value
  EXPECT_GT(CompareDrives(d[1], d[2], 4), 0);
  EXPECT_LT(CompareDrives(d[2], d[0], 5), 0);  // free share
  EXPECT_GT(CompareDrives(d[1], d[2], 6), 0);  // "USB" after "SD"
  EXPECT_LT(CompareDrives(d[0], d[2], 7), 0);  // "Schreibbar" before "Schreibschutz"
  for (int column : {-1, 8, 100}) EXPECT_EQ(CompareDrives(d[0], d[1], column), 0);
  EXPECT_EQ(CompareTextNoCase(L"ABC", L"abc"), 0);
  EXPECT_LT(CompareTextNoCase(L"ab", L"abc"), 0);
  EXPECT_GT(CompareTextNoCase(L"Z", L"_"), 0);  // letters fold to lower case: 'z' comes after '_'
}

TEST(DriveTable, SortsByEachColumnBothWays) {
  struct Case {
    int column;
    bool ascending;
    std::vector<std::wstring> roots;
  };
  const Case cases[] = {
      {0, true, {L"C:\\", L"D:\\", L"e:\\", L"F:\\"}},
      {0, false, {L"F:\\", L"e:\\", L"D:\\", L"C:\\"}},
      {1, true, {L"D:\\", L"F:\\", L"e:\\", L"C:\\"}},
      {3, true, {L"e:\\", L"F:\\", L"C:\\", L"D:\\"}},  // 16 GB, 64 GB, 512 GB, 2 TB
      {3, false, {L"D:\\", L"C:\\", L"F:\\", L"e:\\"}},
      {4, true, {L"F:\\", L"e:\\", L"C:\\", L"D:\\"}},
      {5, false, {L"e:\\", L"D:\\", L"C:\\", L"F:\\"}},  // 93.75%, 50%, 19.5%, 1.6%
  };
  for (const Case& c : cases) {
    std::vector<DriveInfo> drives = SampleDrives();
    SortDrives(drives, c.column, c.ascending);
    EXPECT_EQ(Roots(drives), c.roots) << c.column << (c.ascending ? " ascending" : " descending");
  }
}

TEST(DriveTable, SortDriveTableFollowsTheSortState) {
  DriveTable = SampleDrives();
  EXPECT_EQ(driveSortColumn, 0);  // the start-up state keeps letter order
  EXPECT_TRUE(driveSortAscending);
  SortDriveTable();
  EXPECT_EQ(Roots(DriveTable), (std::vector<std::wstring>{L"C:\\", L"D:\\", L"e:\\", L"F:\\"}));
  driveSortColumn = 6;
  driveSortAscending = false;
  SortDriveTable();
  EXPECT_EQ(DriveTable[0].bus, L"USB");
  EXPECT_EQ(DriveTable[1].bus, L"USB");
  EXPECT_EQ(DriveTable[2].root, L"F:\\");
  EXPECT_EQ(DriveTable[3].root, L"C:\\");
  driveSortColumn = 0;
  driveSortAscending = true;
  DriveTable.clear();
}

TEST(DriveTable, CellTexts) {
  const DriveInfo drive = MakeDriveInfo(L"F:\\", L"Card", L"exFAT", L"SD", 15931539456ull, 7965769728ull, true);
  const wchar_t* expected[] = {L"F:\\", L"Card", L"exFAT", L"14.8 GB", L"7.4 GB", L"50.00%", L"SD", L"Schreibschutz"};
  for (int column = 0; column < kDriveColumnCount; ++column) {
    EXPECT_EQ(DriveCellText(drive, column), expected[column]) << column;
  }
  EXPECT_EQ(DriveCellText(drive, 8), L"");
  EXPECT_EQ(DriveColumnDefaultWidths(), (std::vector<int>{70, 85, 90, 75, 75, 65, 90, 90}));
  EXPECT_STREQ(DriveColumnTitleKey(5), L"col_free_pct");
  EXPECT_STREQ(DriveColumnTitleKey(8), L"");
}

TEST(DriveTable, AsText) {
  CurrentLanguage = kLanguageEnglish;
  std::vector<DriveInfo> drives = {
      MakeDriveInfo(L"E:\\", L"STICK", L"FAT32", L"USB", 16ull << 30, 8ull << 30, false),
      MakeDriveInfo(L"C:\\", L"", L"NTFS", L"IDE/Direkt", 1536ull << 20, 0, true),
  };
  CurrentLanguage = kLanguageGerman;  // titles and the rows' words follow the language of the moment
  EXPECT_EQ(FormatDriveTableText(drives),
            L"Laufwerk  Name        Dateisystem   Gesamt    Frei  Frei %  Anschluss   Status\n"
            L"E:\\       STICK       FAT32        16.0 GB  8.0 GB  50.00%  USB         Schreibbar\n"
            L"C:\\       ohne Namen  NTFS          1.5 GB   0.0 B   0.00%  IDE/Direkt  Schreibschutz\n");
  CurrentLanguage = kLanguageEnglish;
  EXPECT_EQ(FormatDriveTableText(drives),
            L"Drive  Name     File system    Total    Free  Free %  Connection  Status\n"
            L"E:\\    STICK    FAT32        16.0 GB  8.0 GB  50.00%  USB         Writable\n"
            L"C:\\    no name  NTFS          1.5 GB   0.0 B   0.00%  IDE/direct  Write-protected\n");
  CurrentLanguage = kLanguageGerman;
  EXPECT_EQ(FormatDriveTableText({}),
            L"Laufwerk  Name  Dateisystem  Gesamt  Frei  Frei %  Anschluss  Status\n");
}

}  // namespace
}  // namespace velkor
