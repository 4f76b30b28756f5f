#include "platform/ini_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace velkor::platform {
namespace {

std::string Find(std::string_view text, std::string_view section, std::string_view key) {
  std::string value;
  return FindIniValue(text, section, key, &value) ? value : "<missing>";
}

std::string Set(std::string_view text, std::string_view section, std::string_view key, std::string_view value) {
  bool changed = false;
  return SetIniValue(text, section, key, value, &changed);
}

TEST(IniText, Lookup) {
  const std::string text =
      "Loose=before any section\n"
      "[General]\n"
      "Language=de\n"
      "  Padded   =   spaced value   \n"
      "Equals=a=b=c\n"
      "Bare\n"
      "Empty=\n"
      ";Comment=not a value of Comment\n"
      "[ Spaced ]\n"
      "Key=inner blanks are part of the name\n"
      "[Broken\n"
      "Inside=1\n"
      "[General]\n"
      "Second=only the first section counts\n"
      "[Window]\r\n"
      "Width=1300\r\n"
      "[Tail]\n"
      "Last=no line break";
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"General", "Language", "de"},
      {"GENERAL", "language", "de"},         // names in any ASCII case
      {" General ", " Language ", "de"},     // blanks around the asked names
      {"General", "Padded", "spaced value"},
      {"General", "Equals", "a=b=c"},
      {"General", "Bare", "<missing>"},      // a key without "=" has no value
      {"General", "Empty", ""},
      {"General", ";Comment", "not a value of Comment"},
      {"General", "Comment", "<missing>"},
      {"General", "Loose", "<missing>"},     // lines before the first section belong to none
      {"General", "Second", "<missing>"},
      {"Broken", "Inside", "<missing>"},     // a line without "]" starts no section
      {"Spaced", "Key", "<missing>"},
      {" Spaced ", "Key", "<missing>"},      // asked names are trimmed, stored ones are not
      {"Window", "Width", "1300"},           // CR LF line ends
      {"Tail", "Last", "no line break"},
      {"Missing", "Width", "<missing>"},
      {"General", "", "<missing>"},
  };
  for (const Case& c : cases) EXPECT_EQ(Find(text, c.section, c.key), c.value) << c.section << "/" << c.key;
}

TEST(IniText, ByteOrderMarkAndControlBlanks) {
  EXPECT_EQ(Find("\xEF\xBB\xBF[General]\nLanguage=fr\n", "General", "Language"), "fr");
  EXPECT_EQ(Find("[General]\nLanguage=es\x1a\n", "General", "Language"), "es");  // DOS end of file
  EXPECT_EQ(Find("\t[General]\t\n\tLanguage\t=\ten\t\n", "General", "Language"), "en");
}

TEST(IniText, UpdateInPlaceKeepsEveryOtherByte) {
  const std::string text =
      "; settings\n"
      "[Window]\n"
      "Width = 1000   \n"
      "Other=x\n"
      "\n"
      "[Foreign]\n"
      "Width=7\n";
  EXPECT_EQ(Set(text, "window", "WIDTH", "1200"),
            "; settings\n"
            "[Window]\n"
            "Width = 1200\n"
            "Other=x\n"
            "\n"
            "[Foreign]\n"
            "Width=7\n");
  // A new key goes after the section's last entry, before the blank line.
  EXPECT_EQ(Set(text, "Window", "Height", "700"),
            "; settings\n"
            "[Window]\n"
            "Width = 1000   \n"
            "Other=x\n"
            "Height=700\n"
            "\n"
            "[Foreign]\n"
            "Width=7\n");
  // A new section is appended after a blank line.
  EXPECT_EQ(Set(text, "Layout", "SplitX", "610"), text + "\n[Layout]\nSplitX=610\n");
  EXPECT_EQ(Set("", "Layout", "SplitX", "610"), "[Layout]\nSplitX=610\n");
  EXPECT_EQ(Set("[A]\nx=1", "A", "y", "2"), "[A]\nx=1\ny=2\n");
  EXPECT_EQ(Set("[A]\nx=1", "B", "y", "2"), "[A]\nx=1\n\n[B]\ny=2\n");
  EXPECT_EQ(Set("[A]", "A", "y", "2"), "[A]\ny=2\n");
  // A bare key gets its "=".
  EXPECT_EQ(Set("[A]\n  Flag  \nz=1\n", "A", "flag", "on"), "[A]\n  Flag=on\nz=1\n");
  // Leading blanks of the value are dropped.
  EXPECT_EQ(Set("[A]\nx=1\n", "A", "x", "  2"), "[A]\nx=2\n");
  // Only the first section of a name is touched.
  EXPECT_EQ(Set("[A]\nx=1\n[A]\ny=1\n", "A", "y", "2"), "[A]\nx=1\ny=2\n[A]\ny=1\n");
  // Names asked with blanks around them are written without, so they read back.
  EXPECT_EQ(Set("", " Layout ", " SplitX ", "610"), "[Layout]\nSplitX=610\n");
  EXPECT_EQ(Find(Set("[Layout]\n", "Layout", "\tSplitX ", "610"), " Layout", "SplitX"), "610");
}

TEST(IniText, LineBreaksAndByteOrderMarkArePreserved) {
  EXPECT_EQ(Set("[A]\r\nx=1\r\n", "A", "x", "2"), "[A]\r\nx=2\r\n");
  EXPECT_EQ(Set("[A]\r\nx=1\r\n", "A", "y", "2"), "[A]\r\nx=1\r\ny=2\r\n");
  EXPECT_EQ(Set("[A]\r\nx=1\r\n", "B", "y", "2"), "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
  EXPECT_EQ(Set("\xEF\xBB\xBF[A]\nx=1\n", "A", "x", "2"), "\xEF\xBB\xBF[A]\nx=2\n");
  EXPECT_EQ(Set("\xEF\xBB\xBF", "A", "x", "2"), "\xEF\xBB\xBF[A]\nx=2\n");
}

TEST(IniText, AnEqualValueChangesNothing) {
  bool changed = true;
  const std::string text = "[A]\nx =  same\n";
  EXPECT_EQ(SetIniValue(text, "a", "X", "same", &changed), text);
  EXPECT_FALSE(changed);
  SetIniValue(text, "a", "X", "other", &changed);
  EXPECT_TRUE(changed);
}

TEST(IniText, ValueAsTheProfileFunctionsHandItOut) {
  EXPECT_EQ(ProfileStringOfValue(L"\"quoted\"", 16), L"quoted");
  EXPECT_EQ(ProfileStringOfValue(L"'single'", 16), L"single");
  EXPECT_EQ(ProfileStringOfValue(L"\"mixed'", 16), L"\"mixed'");
  EXPECT_EQ(ProfileStringOfValue(L"\"", 16), L"\"");
  EXPECT_EQ(ProfileStringOfValue(L"\"\"", 16), L"");
  EXPECT_EQ(ProfileStringOfValue(L"0123456789abcdefXYZ", 16), L"0123456789abcde");  // 15 characters
  EXPECT_EQ(ProfileStringOfValue(L"abc", 1), L"");
  EXPECT_EQ(ProfileStringOfValue(L"abc", 0), L"");
  EXPECT_EQ(ProfileStringOfValue(std::wstring(L"ab\0cd", 5), 16), L"ab");
}

TEST(IniText, IntegersAsGetPrivateProfileIntReadsThem) {
  struct Case {
    const wchar_t* text;
    int32_t value;
  };
  const Case cases[] = {
      {L"1235", 1235},        {L"-5", -5},           {L"+42", 42},        {L"abc", 0},
      {L"12abc", 12},         {L"  77", 77},         {L"\t-8", -8},       {L"0x1F", 31},
      {L"0xff", 255},         {L"0X1F", 0},          {L"0o17", 15},       {L"0b101", 5},
      {L"-0x10", -16},        {L"0x", 0},            {L"-", 0},           {L"1 2", 1},
      {L"4294967295", -1},    {L"4294967296", 0},    {L"2147483648", INT32_MIN},
      {L"1.5", 1},            {L"0012", 12},         {L"\u0663", 0},      // Arabic-Indic three
  };
  for (const Case& c : cases) EXPECT_EQ(ProfileIntOfText(c.text), c.value) << c.value;
}

// Whatever the file holds, reading and writing must neither crash nor lose the value just set.
TEST(IniText, SurvivesAnyInput) {
  std::mt19937 random(20240611);
  std::string alphabet = "[]=;\r\n \t\x1a\xEF\xBB\xBF" "AaBbxyz01";
  alphabet.push_back('\0');
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const size_t length = random() % 200;
    for (size_t i = 0; i < length; ++i) {
      text.push_back(round % 3 == 0 ? static_cast<char>(random() & 0xFF) : alphabet[random() % alphabet.size()]);
    }
    std::string value;
    FindIniValue(text, "A", "x", &value);
    const std::string updated = Set(text, "A", "x", "v1");
    ASSERT_EQ(Find(updated, "a", "X"), "v1") << round;
    ASSERT_EQ(Find(Set(updated, "A", "x", "v2"), "A", "x"), "v2") << round;
  }
  const std::string huge(1 << 20, 'k');
  EXPECT_EQ(Find(Set("[A]\n" + huge + "\n[B\n[", "A", "x", "1"), "A", "x"), "1");
  EXPECT_EQ(Find(std::string(100000, '['), "A", "x"), "<missing>");
  EXPECT_EQ(Find(std::string(100000, ']'), "A", "x"), "<missing>");
  EXPECT_EQ(Find("[A]\n" + huge + "=" + huge, "A", huge), huge);
}

}  // namespace
}  // namespace velkor::platform
