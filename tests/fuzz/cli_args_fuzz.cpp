// libFuzzer target: velkor-cli's argument parser on any command line (arguments separated by NUL
// bytes). Beyond not crashing: a refusal always comes with a reason on one line, free of control
// characters.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_args.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::wstring> args;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t start = 0;
  for (size_t i = 0; i <= input.size(); ++i) {
    if (i == input.size() || input[i] == '\0') {
      args.push_back(velkor::platform::Utf8ToWide(input.substr(start, i - start)));
      start = i + 1;
    }
  }
  velkor::CliOptions options;
  std::wstring error;
  if (velkor::ParseCliArgs(args, &options, &error)) {
    velkor::CliHelpText(options.command, 4, L"results");
    return 0;
  }
  if (error.empty()) abort();
  for (wchar_t c : error) {
    if (c < 0x20 || (c >= 0x7f && c < 0xa0)) abort();
  }
  return 0;
}
