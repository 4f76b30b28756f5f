// The HTML help in a real browser engine: headless Chromium renders the page into a screenshot and
// ImageMagick lists its colours. Skipped where either tool is missing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "pdf/help_files.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

std::string Quoted(const std::wstring& path) { return "'" + std::filesystem::path(path).string() + "'"; }

TEST(HelpHtmlRender, ChromiumDrawsThePageWithItsStyleSheet) {
  if (std::system("chromium --version >/dev/null 2>&1 && convert -version >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "chromium or ImageMagick not on this system";
  }
  testing::TempFolder folder;
  const std::wstring page = folder.File(L"Velkor-Hilfe.html");
  ASSERT_TRUE(WriteHelpHtml(page, kLanguageGerman));
  const std::wstring shot = folder.File(L"shot.png");
  const std::string render = "timeout 120 chromium --headless --no-sandbox --disable-gpu --hide-scrollbars "
                             "--user-data-dir=" + Quoted(folder.File(L"profile")) +
                             " --window-size=1100,2600 --screenshot=" + Quoted(shot) + " " +
                             Quoted(L"file://" + page) + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(render.c_str()), 0) << render;
  const std::string png = testing::ReadFileBytes(shot);
  ASSERT_GT(png.size(), 24u);
  ASSERT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1A\n");

  // Colours only the style sheet brings: page background, table header cells, and the text
  // colour of a page that holds text.
  const std::wstring colours = folder.File(L"colours.txt");
  const std::string histogram = "convert " + Quoted(shot) + " -format %c histogram:info:" + Quoted(colours);
  ASSERT_EQ(std::system(histogram.c_str()), 0) << histogram;
  const std::string list = testing::ReadFileBytes(colours);
  for (const char* colour : {"#F0F0F0", "#E9EEF7", "#111111"}) {
    EXPECT_NE(list.find(colour), std::string::npos) << colour << " missing from the screenshot";
  }
}

}  // namespace
}  // namespace velkor
