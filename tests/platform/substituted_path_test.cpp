#include <gtest/gtest.h>

#include <string>

#include "platform/volumes.h"

namespace velkor::platform {
namespace {

// What QueryDosDeviceW answers for a letter, and the folder it makes of it: only a SUBST letter
// stands for a folder; volumes, redirectors and other objects stand for none.
TEST(SubstitutedPath, OnlyADosPathTargetIsAFolder) {
  struct Case {
    const wchar_t* target;
    const wchar_t* folder;
  };
  const Case cases[] = {
      {L"\\??\\C:\\Daten\\Karten", L"C:\\Daten\\Karten"},
      {L"\\??\\d:\\", L"d:\\"},
      {L"\\??\\UNC\\server\\freigabe", L"\\\\server\\freigabe"},
      {L"\\??\\unc\\server\\freigabe\\ordner", L"\\\\server\\freigabe\\ordner"},
      {L"\\Device\\HarddiskVolume3", L""},
      {L"\\Device\\LanmanRedirector\\;Z:0000000000012345\\server\\freigabe", L""},
      {L"\\??\\Volume{4c1b02c1-d990-11dc-99ae-806e6f6e6963}", L""},
      {L"\\??\\", L""},
      {L"/dev/sdb1", L""},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(SubstitutedPath(c.target), c.folder) << std::wstring(c.target).size();
}

}  // namespace
}  // namespace velkor::platform
