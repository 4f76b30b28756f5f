// The profile functions on real files. Under Wine they are the system's own, so the same cases
// hold our INI model (platform/ini_text.h) against the Windows behaviour.
#include "platform/profile.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/ini_text.h"
#include "platform/text.h"
#include "tests/support/temp_folder.h"

namespace velkor::platform {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

const char kSample[] =
    "; hand-written\r\n"
    "[General]\r\n"
    "Language = fr \r\n"
    "Quoted=\"1400\"\r\n"
    "Single='x y'\r\n"
    "Long=0123456789abcdefghij\r\n"
    "LongQuoted=\"0123456789abcdefgh\"\r\n"
    "Bare\r\n"
    "Empty=\r\n"
    "\r\n"
    "[Window]\r\n"
    "Width=0x500\r\n"
    "Height=-5\r\n"
    "Text=abc\r\n"
    "Mixed=12abc\r\n"
    "Blank=   33\r\n"
    "Wrap=99999999999\r\n"
    "Digits=000000000000000000000000000012345\r\n"
    "[general]\r\n"
    "Second=only the first section is read\r\n";

// What the model predicts for a lookup in text.
std::wstring Predicted(const std::string& text, const char* section, const char* key, const wchar_t* fallback,
                       uint32_t bufferChars) {
  std::string value;
  if (FindIniValue(text, section, key, &value)) return ProfileStringOfValue(Utf8ToWide(value), bufferChars);
  return ProfileStringOfValue(fallback, bufferChars);
}

TEST(Profile, StringsReadAsTheModelSays) {
  TempFolder folder;
  const std::wstring file = folder.File(L"sample.ini");
  WriteFileBytes(file, kSample);
  struct Case {
    const char* section;
    const char* key;
    uint32_t bufferChars;
  };
  const Case cases[] = {
      {"General", "Language", 16}, {"GENERAL", "LANGUAGE", 16}, {"General", "Quoted", 16},
      {"General", "Single", 16},   {"General", "Long", 16},     {"General", "LongQuoted", 16},
      {"General", "Long", 512},    {"General", "Bare", 16},     {"General", "Empty", 16},
      {"General", "Second", 16},   {"General", "Missing", 16},  {"Nowhere", "Language", 16},
      {"Window", "Width", 30},     {"Window", "Digits", 30},
  };
  for (const Case& c : cases) {
    const std::wstring section = Utf8ToWide(c.section), key = Utf8ToWide(c.key);
    EXPECT_EQ(ReadIniString(file, section, key, L"dflt", c.bufferChars),
              Predicted(kSample, c.section, c.key, L"dflt", c.bufferChars))
        << c.section << "/" << c.key;
  }
  EXPECT_EQ(ReadIniString(file, L"General", L"Language", L"", 16), L"fr");
  EXPECT_EQ(ReadIniString(file, L"General", L"Quoted", L"", 16), L"1400");
  EXPECT_EQ(ReadIniString(folder.File(L"missing.ini"), L"General", L"Language", L"dflt", 16), L"dflt");
}

TEST(Profile, IntegersReadAsTheModelSays) {
  TempFolder folder;
  const std::wstring file = folder.File(L"sample.ini");
  WriteFileBytes(file, kSample);
  struct Case {
    const char* key;
    int32_t value;
  };
  const Case cases[] = {{"Width", 1280}, {"Height", -5},          {"Text", 0},   {"Mixed", 12},
                        {"Blank", 33},   {"Wrap", 1215752191},    {"Digits", 1}, {"Missing", 4711}};
  for (const Case& c : cases) {
    EXPECT_EQ(ReadIniInt(file, L"Window", Utf8ToWide(c.key), 4711), c.value) << c.key;
  }
  EXPECT_EQ(ReadIniInt(file, L"General", L"Quoted", 4711), 1400);  // quotes go before the number is read
  EXPECT_EQ(ReadIniInt(file, L"General", L"Empty", 4711), 4711);
  EXPECT_EQ(ReadIniInt(file, L"General", L"Bare", 4711), 4711);
  EXPECT_EQ(ReadIniInt(folder.File(L"missing.ini"), L"Window", L"Width", -3), -3);
}

TEST(Profile, WritingKeepsForeignSectionsAndKeys) {
  TempFolder folder;
  const std::wstring file = folder.File(L"sample.ini");
  WriteFileBytes(file, kSample);
  ASSERT_TRUE(WriteIniString(file, L"window", L"WIDTH", L"1300"));  // existing key, other case
  ASSERT_TRUE(WriteIniString(file, L"General", L"NewKey", L"new"));
  ASSERT_TRUE(WriteIniString(file, L"Layout", L"SplitX", L"610"));  // new section
  ASSERT_TRUE(WriteIniString(file, L"Layout", L"Name", L"Fran\u00e7ais"));
  const std::string text = ReadFileBytes(file);
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"Window", "Width", "1300"},   {"General", "NewKey", "new"}, {"Layout", "SplitX", "610"},
      {"General", "Language", "fr"}, {"General", "Quoted", "\"1400\""}, {"Window", "Height", "-5"},
      {"Window", "Digits", "000000000000000000000000000012345"},
  };
  for (const Case& c : cases) {
    std::string value;
    EXPECT_TRUE(FindIniValue(text, c.section, c.key, &value)) << c.section << "/" << c.key << "\n" << text;
    EXPECT_EQ(value, c.value) << c.key;
  }
  EXPECT_NE(text.find("; hand-written"), std::string::npos);
  EXPECT_NE(text.find("Second=only the first section is read"), std::string::npos);
  EXPECT_EQ(ReadIniString(file, L"LAYOUT", L"name", L"", 64), L"Fran\u00e7ais");
  EXPECT_EQ(ReadIniInt(file, L"Window", L"Width", 0), 1300);
}

TEST(Profile, NewFileAndFailures) {
  TempFolder folder;
  const std::wstring file = folder.File(L"new.ini");
  ASSERT_TRUE(WriteIniString(file, L"General", L"Language", L"de"));
  EXPECT_EQ(ReadIniString(file, L"General", L"Language", L"", 16), L"de");
  // No folder to write into; a folder in place of the file is never replaced.
  EXPECT_FALSE(WriteIniString(folder.File(L"missing-folder") + PathSeparator() + L"x.ini", L"A", L"b", L"c"));
  ASSERT_TRUE(CreateFolder(folder.File(L"a-folder.ini")));
  EXPECT_FALSE(WriteIniString(folder.File(L"a-folder.ini"), L"A", L"b", L"c"));
  EXPECT_EQ(ReadIniString(folder.File(L"a-folder.ini"), L"A", L"b", L"dflt", 16), L"dflt");
}

}  // namespace
}  // namespace velkor::platform
