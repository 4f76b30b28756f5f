#include "results/json_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace velkor {
namespace {

TEST(EscapeJsonText, EscapesFiveCharactersOnly) {
  EXPECT_EQ(EscapeJsonText(L"a\tb\nc\rd\"e\\f"), L"a\\tb\\nc\\rd\\\"e\\\\f");
  EXPECT_EQ(EscapeJsonText(L"Zuverlässig / \u2713 \x01"), L"Zuverlässig / \u2713 \x01");
  EXPECT_EQ(EscapeJsonText(L""), L"");
}

TEST(ReadJsonText, UndoesTheEscapesAndStopsSafely) {
  const struct {
    const wchar_t* object;
    const wchar_t* value;
  } rows[] = {
      {LR"j({"method":"Turbo (aggressiv)","workers":2})j", L"Turbo (aggressiv)"},
      {LR"j({"method":"a\tb\nc\rd\"e\\f\/g"})j", L"a\tb\nc\rd\"e\\f/g"},
      {LR"j({"method":"unterminated)j", L"unterminated"},
      {LR"j({"method":"ends in \)j", L"ends in "},
      {LR"j({"method":")j", L""},
      {LR"j({"method":12})j", L""},       // not a string
      {LR"j({"method" :"x"})j", L""},     // the writer never puts a blank there
      {LR"j({"workers":2})j", L""},
      {LR"j({"result":"OK","method":"zweiter"})j", L"zweiter"},
      {LR"j(x"method":"a"method":"b")j", L"a"},  // the first occurrence counts
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ReadJsonText(row.object, L"method"), row.value) << std::wstring(row.object).size();
  }
}

TEST(ReadJsonInteger, ReadsAsWcstoullDoes) {
  const struct {
    const wchar_t* object;
    uint64_t value;
  } rows[] = {
      {LR"j({"bytes":268435456,"x":1})j", 268435456},
      {LR"j({"bytes": 	42})j", 42},
      {LR"j({"bytes":+7})j", 7},
      {LR"j({"bytes":-1})j", UINT64_MAX},
      {LR"j({"bytes":18446744073709551615})j", UINT64_MAX},
      {LR"j({"bytes":99999999999999999999999})j", UINT64_MAX},
      {LR"j({"bytes":12abc})j", 12},
      {LR"j({"bytes":abc})j", 0},
      {LR"j({"bytes":"12"})j", 0},
      {LR"j({"bytes":)j", 0},
      {LR"j({"byte":12})j", 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ReadJsonInteger(row.object, L"bytes"), row.value) << std::wstring(row.object).size();
  }
}

TEST(ReadJsonNumber, DecimalNumbersWithAPointAndNothingElse) {
  const struct {
    const wchar_t* object;
    double value;
  } rows[] = {
      {LR"j({"mbPerSecond":41.27,"x":1})j", 41.27},
      {LR"j({"mbPerSecond":-3.5})j", -3.5},
      {LR"j({"mbPerSecond":+2.5})j", 2.5},
      {LR"j({"mbPerSecond": 7})j", 7.0},
      {LR"j({"mbPerSecond":.5})j", 0.5},
      {LR"j({"mbPerSecond":1e3})j", 1000.0},
      {LR"j({"mbPerSecond":12,5})j", 12.0},
      {LR"j({"mbPerSecond":1e999})j", 0.0},
      {LR"j({"mbPerSecond":inf})j", 0.0},
      {LR"j({"mbPerSecond":nan})j", 0.0},
      {LR"j({"mbPerSecond":--1})j", 0.0},
      {LR"j({"mbPerSecond":0x10})j", 0.0},
      {LR"j({"mbPerSecond":)j", 0.0},
      {LR"j({"seconds":3.0})j", 0.0},
  };
  for (const auto& row : rows) {
    const double read = ReadJsonNumber(row.object, L"mbPerSecond");
    EXPECT_TRUE(std::isfinite(read));
    EXPECT_EQ(read, row.value) << std::wstring(row.object).size();
  }
}

TEST(ReadJsonBool, OnlyTheFourLettersTrue) {
  const struct {
    const wchar_t* object;
    bool value;
  } rows[] = {
      {LR"j({"verified":true,"x":1})", true}, {LR"({"verified":true)j", true},
      {LR"j({"verified":false})", false},     {LR"({"verified": true})j", false},
      {LR"j({"verified":True})", false},      {LR"({"verified":tru)j", false},
      {LR"j({"verified":)", false},           {LR"({"cancelled":true})j", false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ReadJsonBool(row.object, L"verified"), row.value) << std::wstring(row.object).size();
  }
}

// The typed readers say whether a value has their type; what they read is the value JSON means.
TEST(JsonValues, TypedReadersTakeOnlyTheirType) {
  std::wstring text;
  EXPECT_TRUE(JsonStringValue(LR"("a\"b\\c\/d\n\u00e4\ud83d\ude00")", &text));
  EXPECT_EQ(text, L"a\"b\\c/d\n\u00e4\U0001F600");
  for (const wchar_t* bad : {L"x", L"\"open", L"\"a\"b\"", L"\"\\x\"", L"\"\\u12\"", L"7", L"\"\x01\""}) {
    EXPECT_FALSE(JsonStringValue(bad, &text)) << bad;
  }
  uint64_t whole = 1;
  EXPECT_TRUE(JsonUnsignedValue(L"18446744073709551615", &whole));
  EXPECT_EQ(whole, UINT64_MAX);
  EXPECT_TRUE(JsonUnsignedValue(L"0", &whole));
  EXPECT_EQ(whole, 0u);
  for (const wchar_t* bad : {L"", L"-1", L"+1", L"01", L"1.0", L"1e3", L"18446744073709551616", L"\"5\"", L"true"}) {
    EXPECT_FALSE(JsonUnsignedValue(bad, &whole)) << bad;
  }
  double number = 0.0;
  EXPECT_TRUE(JsonNumberValue(L"-12.5e-1", &number));
  EXPECT_EQ(number, -1.25);
  EXPECT_TRUE(JsonNumberValue(L"0", &number));
  for (const wchar_t* bad : {L"", L"-", L".5", L"5.", L"01", L"1e", L"+1", L"1e999", L"nan", L"0x10", L"\"1\""}) {
    EXPECT_FALSE(JsonNumberValue(bad, &number)) << bad;
  }
  bool yes = false;
  EXPECT_TRUE(JsonBoolValue(L"true", &yes));
  EXPECT_TRUE(yes);
  EXPECT_TRUE(JsonBoolValue(L"false", &yes));
  EXPECT_FALSE(yes);
  for (const wchar_t* bad : {L"True", L"1", L"\"true\"", L"truex", L"null"}) EXPECT_FALSE(JsonBoolValue(bad, &yes)) << bad;
}

TEST(JsonValues, CompactTextKeepsStringsAndFindsEnds) {
  EXPECT_EQ(CompactJson(L" {\n\t\"a b\" : [ 1 , \"x ]\" ] }\r\n"), L"{\"a b\":[1,\"x ]\"]}");
  const std::wstring text = LR"({"k":{"s":"}]\"","n":[1,{"m":2}]},"z":true})";
  EXPECT_EQ(JsonValueEnd(text, 5), text.find(L",\"z\""));
  EXPECT_EQ(JsonValueEnd(text, 0), text.size());
  EXPECT_EQ(JsonValueEnd(L"{\"a\":[1,2", 0), std::wstring::npos);
  std::vector<JsonMember> members;
  size_t end = 0;
  ASSERT_TRUE(ReadJsonMembers(text, 0, &members, &end));
  EXPECT_EQ(end, text.size());
  ASSERT_EQ(members.size(), 2u);
  EXPECT_EQ(members[0].key, L"k");
  EXPECT_EQ(text.substr(members[1].begin, members[1].end - members[1].begin), L"true");
  for (const wchar_t* bad : {L"{\"a\"1}", L"{a:1}", L"{\"a\":1,}", L"{\"a\":1", L"[1]", L"{\"a\":1 \"b\":2}"}) {
    EXPECT_FALSE(ReadJsonMembers(bad, 0, &members, &end)) << bad;
  }
}

}  // namespace
}  // namespace velkor
