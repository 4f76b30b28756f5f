#include "results/json_text.h"

#include <gtest/gtest.h>

#include <cmath>

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

}  // namespace
}  // namespace velkor
