// What a start says about what was typed: digit-only fields, and a refusal that names the field,
// the value and what the field allows, in the window's language.
#include <gtest/gtest.h>

#include "tests/ui/window_driver.h"
#include "ui/commands.h"
#include "ui/lists.h"
#include "view/control_numbers.h"

namespace velkor::testing {
namespace {

class StartFields : public WindowTest {
 protected:
  // Any drive will do: every refusal comes before the drive is looked at further.
  bool SelectSomeDrive() {
    RefreshDriveList();
    EXPECT_TRUE(PumpUntil(DeviceWorkSettled));
    FillDriveList(L"");
    return GetSelectedDrive() != nullptr;
  }

  // Presses Start and returns the text of the one box it showed (empty without one).
  std::wstring StartAndReadBox() {
    const size_t before = Answerer().seen.size();
    Answerer().answers.push_back([](HWND box, const SeenDialog& seen) {
      SaveScreenshot(box, L"refusal-" + std::to_wstring(seen.text.size()) + L".bmp");
      return IDOK;
    });
    Command(kIdStart);
    Pump();
    EXPECT_FALSE(Ui().run) << "a refused start made a run";
    if (Answerer().seen.size() != before + 1) return L"";
    EXPECT_EQ(Answerer().seen.back().title, Translate(L"box_invalid_title"));
    return Answerer().seen.back().text;
  }
};

TEST_F(StartFields, NumberFieldsTakeDigitsOnly) {
  ASSERT_NE(OpenWindow(), nullptr);
  for (int field : {kCtlTestSizeField, kCtlBlockField, kCtlWorkerField, kCtlReserveField, kCtlTestPointsField,
                    kCtlPartialStartField, kCtlPartialRangeField}) {
    EXPECT_TRUE(GetWindowLongW(Control(field), GWL_STYLE) & ES_NUMBER) << field;
  }
}

TEST_F(StartFields, EachRefusalNamesTheFieldTheValueAndTheRange) {
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_TRUE(SelectSomeDrive());
  Command(kIdSettingsToggle);
  const struct {
    int field;
    int label;
    const wchar_t* typed;
    const wchar_t* says;  // what follows the field's name
  } cases[] = {
      {kCtlTestSizeField, kCtlTestSizeLabel, L"abc", L": „abc“ ist nicht erlaubt, nur Ziffern. Erlaubt: ganze Zahlen von 1 bis "},
      {kCtlBlockField, kCtlBlockLabel, L"1MB", L": „1MB“ ist nicht erlaubt, nur Ziffern. Erlaubt: ganze Zahlen von 4 bis "},
      {kCtlWorkerField, kCtlWorkerLabel, L"two", L": „two“ ist nicht erlaubt, nur Ziffern. Erlaubt: ganze Zahlen von 1 bis "},
      {kCtlReserveField, kCtlReserveLabel, L"-5", L": „-5“ ist nicht erlaubt, nur Ziffern. Erlaubt: ganze Zahlen von 0 bis "},
      {kCtlTestPointsField, kCtlTestPointsLabel, L"0", L": 0 liegt außerhalb des erlaubten Bereichs. Erlaubt: ganze Zahlen von 1 bis 16."},
      {kCtlBlockField, kCtlBlockLabel, L"", L": Das Feld ist leer. Erlaubt: ganze Zahlen von 4 bis "},
  };
  for (const auto& c : cases) {
    const std::wstring kept = Text(c.field);
    SetText(c.field, c.typed);  // as pasted: the field's own filter only stops typed keys
    const std::wstring box = StartAndReadBox();
    std::wstring name = Text(c.label);
    if (c.field == kCtlWorkerField) name = L"Worker:";  // the label also counts the cores
    name.pop_back();  // its colon
    EXPECT_EQ(box.rfind(name + c.says, 0), 0u) << Narrow(box);
    // The field that was refused has the focus where it is shown (test points only with the
    // method test's details).
    if (IsWindowVisible(Control(c.field))) {
      EXPECT_EQ(GetFocus(), Control(c.field)) << Narrow(box);
    }
    SetText(c.field, kept);
  }
  // The partial range's fields count only while it is ticked.
  SetText(kCtlPartialRangeField, L"x");
  SetChecked(kCtlPartialCheck, true);
  UpdatePartialControls(true);
  EXPECT_EQ(StartAndReadBox().rfind(L"Bereich (MB): „x“", 0), 0u);
}

TEST_F(StartFields, RefusalsSpeakTheWindowsLanguageAndNoDriveIsItsOwnMessage) {
  ASSERT_NE(OpenWindow(), nullptr);
  Choose(kCtlLanguageBox, kLanguageEnglish);
  ListView_SetItemState(Control(kCtlDriveList), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  Pump();
  ASSERT_EQ(GetSelectedDrive(), nullptr);
  SetText(kCtlTestSizeField, L"abc");
  EXPECT_EQ(StartAndReadBox(), L"No drive selected. Please choose a drive in the list.");

  ASSERT_TRUE(SelectSomeDrive());
  EXPECT_EQ(StartAndReadBox(),
            L"Test size (MB): \"abc\" is not allowed, digits only. Allowed: whole numbers from 1 to 1073741824.");
  SetText(kCtlTestSizeField, L"1");
  SetText(kCtlBlockField, L"2048");
  EXPECT_EQ(StartAndReadBox(), L"Block size (KB): 2048 KB is larger than the test size of 1 MB.");
}

}  // namespace
}  // namespace velkor::testing
