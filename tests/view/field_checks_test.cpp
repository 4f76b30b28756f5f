#include "view/field_checks.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "view/control_numbers.h"

namespace velkor {
namespace {

StartFieldTexts Entered() {
  StartFieldTexts f;
  f.testSize = L"1024";
  f.blockSize = L"4096";
  f.workers = L"2";
  f.reserve = L"0";
  f.testPoints = L"3";
  f.partialStart = L"0";
  f.partialRange = L"1024";
  return f;
}

TEST(FieldChecks, EachRefusalNamesTheFieldTheValueAndTheRange) {
  const struct {
    const char* what;
    std::wstring StartFieldTexts::*field;
    const wchar_t* text;
    bool partial;
    int control;
    const wchar_t* refusal;  // German; empty: accepted
  } cases[] = {
      {"letters", &StartFieldTexts::testSize, L"abc", false, kCtlTestSizeField,
       L"Testgröße (MB): „abc“ ist nicht erlaubt, nur Ziffern. Erlaubt: ganze Zahlen von 1 bis 1073741824."},
      {"a unit", &StartFieldTexts::testSize, L"1MB", false, kCtlTestSizeField,
       L"Testgröße (MB): „1MB“ ist nicht erlaubt, nur Ziffern. Erlaubt: ganze Zahlen von 1 bis 1073741824."},
      {"a word", &StartFieldTexts::workers, L"two", false, kCtlWorkerField,
       L"Worker: „two“ ist nicht erlaubt, nur Ziffern. Erlaubt: ganze Zahlen von 1 bis 7."},
      {"a sign", &StartFieldTexts::reserve, L"-5", false, kCtlReserveField,
       L"Rest frei (MB): „-5“ ist nicht erlaubt, nur Ziffern. Erlaubt: ganze Zahlen von 0 bis 1073741824."},
      {"zero", &StartFieldTexts::testPoints, L"0", false, kCtlTestPointsField,
       L"Testpunkte: 0 liegt außerhalb des erlaubten Bereichs. Erlaubt: ganze Zahlen von 1 bis 16."},
      {"below the block minimum", &StartFieldTexts::blockSize, L"3", false, kCtlBlockField,
       L"Blockgröße (KB): 3 liegt außerhalb des erlaubten Bereichs. Erlaubt: ganze Zahlen von 4 bis 4194303."},
      {"past 64 bits", &StartFieldTexts::testSize, L"99999999999999999999999", false, kCtlTestSizeField,
       L"Testgröße (MB): „99999999999999999999999“ ist nicht erlaubt, nur Ziffern. Erlaubt: ganze Zahlen von 1 bis "
       L"1073741824."},
      {"too large", &StartFieldTexts::testSize, L"1073741825", false, kCtlTestSizeField,
       L"Testgröße (MB): 1073741825 liegt außerhalb des erlaubten Bereichs. Erlaubt: ganze Zahlen von 1 bis 1073741824."},
      {"empty", &StartFieldTexts::blockSize, L"  ", false, kCtlBlockField,
       L"Blockgröße (KB): Das Feld ist leer. Erlaubt: ganze Zahlen von 4 bis 4194303."},
      {"a long paste", &StartFieldTexts::blockSize, L"abcdefghijklmnopqrstuvwxyz", false, kCtlBlockField,
       L"Blockgröße (KB): „abcdefghijklmnopqrstuvwx…“ ist nicht erlaubt, nur Ziffern. Erlaubt: ganze Zahlen von 4 bis "
       L"4194303."},
      {"range in use", &StartFieldTexts::partialRange, L"x", true, kCtlPartialRangeField,
       L"Bereich (MB): „x“ ist nicht erlaubt, nur Ziffern. Erlaubt: ganze Zahlen von 1 bis 1073741824."},
      {"block above the test", &StartFieldTexts::blockSize, L"2048", false, kCtlBlockField, nullptr},
      // Accepted: blanks around digits, workers above the maximum and test points above 16 (the
      // start lowers them), the unused size fields.
      {"blanks", &StartFieldTexts::testSize, L" 12 ", false, 0, L""},
      {"many workers", &StartFieldTexts::workers, L"64", false, 0, L""},
      {"many points", &StartFieldTexts::testPoints, L"40", false, 0, L""},
      {"range unused", &StartFieldTexts::partialRange, L"x", false, 0, L""},
      {"size unused", &StartFieldTexts::testSize, L"x", true, 0, L""},
  };
  for (const auto& c : cases) {
    StartFieldTexts f = Entered();
    f.*c.field = c.text;
    f.partial = c.partial;
    if (c.refusal == nullptr) f.testSize = L"1";  // 1 MB against 2048 KB
    const FieldRefusal r = CheckStartFields(f, 8, kLanguageGerman);
    EXPECT_EQ(r.control, c.control) << c.what;
    const std::wstring expected =
        c.refusal != nullptr ? c.refusal : L"Blockgröße (KB): 2048 KB ist größer als die Testgröße von 1 MB.";
    EXPECT_EQ(platform::WideToUtf8(r.text), platform::WideToUtf8(expected)) << c.what;
  }
}

// The refusal speaks the window's language, with the field's label as the window shows it.
TEST(FieldChecks, RefusalsInTheWindowsLanguage) {
  StartFieldTexts f = Entered();
  f.reserve = L"-5";
  EXPECT_EQ(CheckStartFields(f, 8, kLanguageEnglish).text,
            L"Keep free (MB): \"-5\" is not allowed, digits only. Allowed: whole numbers from 0 to 1073741824.");
  f.reserve = L"0";
  f.testPoints = L"";
  EXPECT_EQ(CheckStartFields(f, 8, kLanguageFrench).text,
            L"Points de test : le champ est vide. Autorisé : nombres entiers de 1 à 16.");
}

}  // namespace
}  // namespace velkor
