#include "tests/support/pdf_tools.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "tests/support/temp_folder.h"

namespace velkor::testing {
namespace {

std::string Quoted(const std::wstring& path) { return "'" + std::filesystem::path(path).string() + "'"; }

// Runs command with stdout and stderr into a file beside the PDF; returns the exit status.
int RunCapturing(const std::string& command, const std::wstring& pdf, std::string* output) {
  const std::wstring capture = pdf + L".out";
  const int status = std::system((command + " > " + Quoted(capture) + " 2>&1").c_str());
  *output = ReadFileBytes(capture);
  std::error_code ec;
  std::filesystem::remove(std::filesystem::path(capture), ec);
  return status;
}

}  // namespace

bool PdfToolsAvailable() {
  return std::system("qpdf --version >/dev/null 2>&1 && pdfinfo -v >/dev/null 2>&1 && "
                     "pdftotext -v >/dev/null 2>&1") == 0;
}

bool QpdfCheck(const std::wstring& pdf, std::string* output) {
  return RunCapturing("qpdf --check " + Quoted(pdf), pdf, output) == 0;
}

int PdfPageCount(const std::wstring& pdf) {
  std::string output;
  if (RunCapturing("pdfinfo " + Quoted(pdf), pdf, &output) != 0) return -1;
  std::smatch m;
  if (!std::regex_search(output, m, std::regex("Pages:\\s+(\\d+)"))) return -1;
  return std::stoi(m[1]);
}

namespace {

std::string PdfToTextWith(const std::string& mode, const std::wstring& pdf) {
  const std::wstring txt = pdf + L".txt";
  const std::string command = "pdftotext " + mode + " -enc UTF-8 " + Quoted(pdf) + " " + Quoted(txt);
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  return ReadFileBytes(txt);
}

}  // namespace

std::string PdfToText(const std::wstring& pdf) { return PdfToTextWith("-layout", pdf); }
std::string PdfToRawText(const std::wstring& pdf) { return PdfToTextWith("-raw", pdf); }

}  // namespace velkor::testing
