#include "cli/cli_app.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  return velkor::RunCli(velkor::platform::CommandLineArguments(argc, argv));
}
