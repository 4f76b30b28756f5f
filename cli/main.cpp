#include "cli/cli_app.h"
#include "platform/console.h"
#include "platform/system.h"

int main(int argc, char** argv) {
  // In a script, an empty card slot must answer with an error, not wait behind a system box.
  velkor::platform::SuppressCriticalErrorBoxes();
  return velkor::RunCli(velkor::platform::CommandLineArguments(argc, argv),
                        velkor::platform::CommandLineBytes(argc, argv));
}
