#include "common/settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "common/localization.h"
#include "platform/files.h"
#include "platform/ini_text.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

const std::vector<int> kDriveDefaults = {70, 110, 85, 85, 85, 70, 95, 95};

// Each test gets its own settings file and the program's start-up values.
class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = folder_.File(L"velkor.ini");
    SetSettingsFilePath(path_);
    WindowWidth = kDefaultWindowWidth;
    WindowHeight = kDefaultWindowHeight;
    SplitX = kDefaultSplitX;
    TopPaneHeight = kDefaultTopPaneHeight;
    SettingsLoaded = false;
    CurrentLanguage = kLanguageGerman;
  }
  void TearDown() override {
    SetSettingsFilePath(L"");
    CurrentLanguage = kLanguageGerman;
  }

  std::string Stored(const char* section, const char* key) {
    std::string value;
    platform::FindIniValue(ReadFileBytes(path_), section, key, &value);
    return value;
  }

  TempFolder folder_;
  std::wstring path_;
};

TEST_F(SettingsFile, NoFileGivesTheDefaults) {
  LoadSettings();
  EXPECT_TRUE(SettingsLoaded);
  EXPECT_EQ(WindowWidth, 1235);
  EXPECT_EQ(WindowHeight, 745);
  EXPECT_EQ(SplitX, 610);
  EXPECT_EQ(TopPaneHeight, 145);
  EXPECT_EQ(CurrentLanguage, DefaultLanguage());
  const ColumnLayout drives = ReadListColumns(L"DriveColumns", kDriveDefaults);
  EXPECT_EQ(drives.widths, kDriveDefaults);
  EXPECT_EQ(drives.order, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_FALSE(platform::FileExists(path_));  // reading creates nothing
}

TEST_F(SettingsFile, ValuesAreLiftedToTheirBounds) {
  struct Case {
    const char* file;
    int width, height, splitX, topPane;
  };
  const Case cases[] = {
      {"[Window]\nWidth=500\nHeight=400\n", 900, 600, 610, 145},
      {"[Window]\nWidth=abc\n", 900, 745, 610, 145},  // no number reads 0, then the bound
      {"[Window]\nHeight=800\n", 1235, 800, 610, 145},  // missing Width keeps the default
      {"[Layout]\nSplitX=100\nTopPaneHeight=20\n", 1235, 745, 360, 100},
      {"[Layout]\nSplitX=700\nTopPaneHeight=300\n", 1235, 745, 700, 300},
      {"[Window]\nWidth=-5\nHeight=-2147483648\n", 900, 600, 610, 145},  // signed comparisons
      {"[Window]\nWidth=1400px\nHeight=  1000  \n", 1400, 1000, 610, 145},
      {"[Window]\nWidth=0x500\nHeight=\"900\"\n", 1280, 900, 610, 145},
      {"[Window]\nWidth=\n", 1235, 745, 610, 145},  // an empty value is the default
      {"[window]\nwidth=1111\n[LAYOUT]\nsplitx=555\n", 1111, 745, 555, 145},  // names in any case
  };
  for (const Case& c : cases) {
    SetUp();
    WriteFileBytes(path_, c.file);
    LoadSettings();
    EXPECT_EQ(WindowWidth, c.width) << c.file;
    EXPECT_EQ(WindowHeight, c.height) << c.file;
    EXPECT_EQ(SplitX, c.splitX) << c.file;
    EXPECT_EQ(TopPaneHeight, c.topPane) << c.file;
  }
}

TEST_F(SettingsFile, LanguageCodes) {
  struct Case {
    const char* value;
    int language;
  };
  const Case cases[] = {{"de", kLanguageGerman}, {"DE", kLanguageGerman},     {"en", kLanguageEnglish},
                        {"EN", kLanguageEnglish}, {"english", kLanguageEnglish}, {"zz", kLanguageEnglish},
                        {"fr", kLanguageFrench},  {"Es", kLanguageSpanish}};
  for (const Case& c : cases) {
    SetUp();
    WriteFileBytes(path_, std::string("[General]\nLanguage=") + c.value + "\n");
    LoadSettings();
    EXPECT_EQ(CurrentLanguage, c.language) << c.value;
  }
  SetUp();
  WriteFileBytes(path_, "[General]\nLanguage=\n");
  LoadSettings();
  EXPECT_EQ(CurrentLanguage, DefaultLanguage());
}

TEST_F(SettingsFile, UpperCaseCodeIsWrittenBackInLowerCase) {
  WriteFileBytes(path_, "[General]\nLanguage=DE\n");
  LoadSettings();
  ASSERT_EQ(CurrentLanguage, kLanguageGerman);
  SaveSettings(WindowSnapshot{});
  EXPECT_EQ(Stored("General", "Language"), "de");
  for (int language : {kLanguageEnglish, kLanguageFrench, kLanguageSpanish, 7}) {
    CurrentLanguage = language;
    SaveSettings(WindowSnapshot{});
    EXPECT_EQ(Stored("General", "Language"), platform::WideToUtf8(LanguageCode(language)));
  }
}

TEST_F(SettingsFile, NothingIsWrittenBeforeLoading) {
  SaveSettings(WindowSnapshot{true, 1300, 900, nullptr, nullptr});
  EXPECT_FALSE(platform::FileExists(path_));
  EXPECT_EQ(WindowWidth, 1235);
}

TEST_F(SettingsFile, SaveWritesEveryValueAndTheColumns) {
  LoadSettings();
  SplitX = 640;
  TopPaneHeight = 170;
  ColumnLayout drives{kDriveDefaults, {0, 1, 2, 3, 4, 5, 6, 7}};
  ColumnLayout results{{135, 55, 70, 70, 70, 65, 55, 105}, {7, 0, 1, 2, 3, 4, 5, 6}};
  CurrentLanguage = kLanguageSpanish;
  SaveSettings(WindowSnapshot{true, 1500, 820, &drives, &results});
  EXPECT_EQ(Stored("General", "Language"), "es");
  EXPECT_EQ(Stored("Window", "Width"), "1500");
  EXPECT_EQ(Stored("Window", "Height"), "820");
  EXPECT_EQ(Stored("Layout", "SplitX"), "640");
  EXPECT_EQ(Stored("Layout", "TopPaneHeight"), "170");
  EXPECT_EQ(Stored("DriveColumns", "Widths"), "70,110,85,85,85,70,95,95");
  EXPECT_EQ(Stored("DriveColumns", "Order"), "0,1,2,3,4,5,6,7");
  EXPECT_EQ(Stored("ResultColumns", "Widths"), "135,55,70,70,70,65,55,105");
  EXPECT_EQ(Stored("ResultColumns", "Order"), "7,0,1,2,3,4,5,6");

  // A restart reads back what was saved.
  WindowWidth = kDefaultWindowWidth;
  SplitX = kDefaultSplitX;
  CurrentLanguage = kLanguageGerman;
  LoadSettings();
  EXPECT_EQ(WindowWidth, 1500);
  EXPECT_EQ(WindowHeight, 820);
  EXPECT_EQ(SplitX, 640);
  EXPECT_EQ(CurrentLanguage, kLanguageSpanish);
  EXPECT_EQ(ReadListColumns(L"ResultColumns", {135, 55, 70, 70, 70, 65, 55, 105}).order, results.order);
}

TEST_F(SettingsFile, SmallOrMissingWindowSize) {
  LoadSettings();
  SaveSettings(WindowSnapshot{true, 640, 480, nullptr, nullptr});  // lifted to the bounds
  EXPECT_EQ(WindowWidth, 900);
  EXPECT_EQ(WindowHeight, 600);
  EXPECT_EQ(Stored("Window", "Width"), "900");
  WindowWidth = 1300;
  WindowHeight = 700;
  SaveSettings(WindowSnapshot{});  // minimised: the last size seen stays
  EXPECT_EQ(Stored("Window", "Width"), "1300");
  EXPECT_EQ(Stored("Window", "Height"), "700");
}

TEST_F(SettingsFile, ForeignSectionsAndKeysSurviveASave) {
  const std::string original =
      "; kept by hand\n"
      "[Foreign]\n"
      "Colour=blue\n"
      "\n"
      "[Window]\n"
      "Width=1000\n"
      "Remark=keep me\n"
      "\n"
      "[Other]\n"
      "List=a,b,c\n";
  WriteFileBytes(path_, original);
  LoadSettings();
  ASSERT_EQ(WindowWidth, 1000);
  SaveSettings(WindowSnapshot{true, 1200, 800, nullptr, nullptr});
  const std::string saved = ReadFileBytes(path_);
  EXPECT_EQ(Stored("Foreign", "Colour"), "blue");
  EXPECT_EQ(Stored("Window", "Remark"), "keep me");
  EXPECT_EQ(Stored("Other", "List"), "a,b,c");
  EXPECT_EQ(Stored("Window", "Width"), "1200");
  EXPECT_NE(saved.find("; kept by hand"), std::string::npos);
  EXPECT_NE(saved.find("[Foreign]"), std::string::npos);
  EXPECT_EQ(saved.find("Width=1000"), std::string::npos);
}

TEST_F(SettingsFile, ColumnLayoutsFromTheFile) {
  struct Case {
    const char* widths;
    const char* order;
    std::vector<int> expectedWidths;
    std::vector<int> expectedOrder;
  };
  const std::vector<int> natural = {0, 1, 2, 3, 4, 5, 6, 7};
  const Case cases[] = {
      {"70,10,,abc,200", "1,0,2,3,4,5,6,7", {70, 110, 85, 200, 85, 70, 95, 95}, {1, 0, 2, 3, 4, 5, 6, 7}},
      {"100,100,100,100,100,100,100,100,100,100", "0,0,2,3,4,5,6,7", std::vector<int>(8, 100), natural},
      {"-30,24,23,0", "0,1,2", {70, 24, 85, 85, 85, 70, 95, 95}, natural},
      {"", "0,1,2,3,4,5,6,8", kDriveDefaults, natural},
      {"x", "7,6,5,4,3,2,1,0", kDriveDefaults, {7, 6, 5, 4, 3, 2, 1, 0}},
      {"", "0,1,2,3,4,5,6,-1", kDriveDefaults, natural},
      {"", "0,1,2,3,4,5,6,7,", kDriveDefaults, natural},  // a trailing comma is an empty piece
      {"", "0,1,2,3,4,5,6,7,8", kDriveDefaults, natural},
  };
  for (const Case& c : cases) {
    WriteFileBytes(path_, std::string("[DriveColumns]\nWidths=") + c.widths + "\nOrder=" + c.order + "\n");
    const ColumnLayout layout = ReadListColumns(L"DriveColumns", kDriveDefaults);
    EXPECT_EQ(layout.widths, c.expectedWidths) << c.widths;
    EXPECT_EQ(layout.order, c.expectedOrder) << c.order;
  }
}

TEST(ColumnSettings, IntegerListsAsWcstolReadsThem) {
  EXPECT_EQ(ParseIntegerList(L"70,10,,abc,200"), (std::vector<int>{70, 10, 0, 200}));
  EXPECT_EQ(ParseIntegerList(L" 42,+7,-3,12abc"), (std::vector<int>{42, 7, -3, 12}));
  EXPECT_EQ(ParseIntegerList(L"99999999999,-99999999999"), (std::vector<int>{INT_MAX, INT_MIN}));
  EXPECT_EQ(ParseIntegerList(L",,,"), std::vector<int>{});
  EXPECT_EQ(ParseIntegerList(L""), std::vector<int>{});
  EXPECT_EQ(JoinIntegerList({70, 110, -5}), L"70,110,-5");
  EXPECT_EQ(JoinIntegerList({}), L"");
  std::vector<int> order;
  EXPECT_TRUE(ParseColumnOrder(L"1,0,2,3,4,5,6,7", 8, &order));
  EXPECT_EQ(order, (std::vector<int>{1, 0, 2, 3, 4, 5, 6, 7}));
  EXPECT_FALSE(ParseColumnOrder(L"0,1,2", 8, &order));
}

// The file the Linux build writes must read the same in python3's configparser as in our reader.
TEST_F(SettingsFile, ConfigParserReadsWhatWeRead) {
  if (platform::PathSeparator() != L'/') GTEST_SKIP() << "configparser is checked in the native build";
  if (std::system("python3 -c \"import configparser\" >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "python3 is not installed";
  }
  WriteFileBytes(path_, "[Foreign]\nColour = blue\n\n[Window]\nWidth=1000\nRemark=keep me\n");
  LoadSettings();
  CurrentLanguage = kLanguageFrench;
  ColumnLayout drives{kDriveDefaults, {3, 1, 2, 0, 4, 5, 6, 7}};
  ColumnLayout results{{135, 55, 70, 70, 70, 65, 55, 105}, {0, 1, 2, 3, 4, 5, 6, 7}};
  SaveSettings(WindowSnapshot{true, 1280, 720, &drives, &results});

  const std::wstring script = folder_.File(L"dump.py");
  const std::wstring dump = folder_.File(L"dump.txt");
  WriteFileBytes(script,
                 "import configparser, sys\n"
                 "p = configparser.ConfigParser(interpolation=None, strict=True)\n"
                 "p.optionxform = str\n"
                 "with open(sys.argv[1], encoding='utf-8') as f:\n"
                 "    p.read_file(f)\n"
                 "for s in p.sections():\n"
                 "    for k, v in p.items(s):\n"
                 "        print(s + '\\t' + k + '\\t' + v)\n");
  const std::string command = "python3 '" + platform::WideToUtf8(script) + "' '" + platform::WideToUtf8(path_) +
                              "' > '" + platform::WideToUtf8(dump) + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(path_);

  std::istringstream lines(ReadFileBytes(dump));
  std::string line;
  int entries = 0;
  while (std::getline(lines, line)) {
    const size_t tab1 = line.find('\t');
    const size_t tab2 = line.find('\t', tab1 + 1);
    ASSERT_NE(tab2, std::string::npos) << line;
    const std::wstring section = platform::Utf8ToWide(line.substr(0, tab1));
    const std::wstring key = platform::Utf8ToWide(line.substr(tab1 + 1, tab2 - tab1 - 1));
    EXPECT_EQ(platform::ReadIniString(path_, section, key, L"<missing>", 512),
              platform::Utf8ToWide(line.substr(tab2 + 1)))
        << line;
    ++entries;
  }
  // Language, size, splitters, two keys per list, and the two foreign keys.
  EXPECT_EQ(entries, 1 + 2 + 2 + 2 + 2 + 2);
  EXPECT_NE(ReadFileBytes(dump).find("General\tLanguage\tfr"), std::string::npos);
  EXPECT_NE(ReadFileBytes(dump).find("DriveColumns\tOrder\t3,1,2,0,4,5,6,7"), std::string::npos);
  EXPECT_NE(ReadFileBytes(dump).find("Foreign\tColour\tblue"), std::string::npos);
}

}  // namespace
}  // namespace velkor
