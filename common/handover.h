// The hand-over of texts and end-of-run results from any thread to the front-end's user-interface
// thread. The front-end registers one receiver (the window posts WM_APP messages to itself,
// velkor-cli queues them for its main thread); until then nothing is handed over.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace velkor {

struct RunOutcome;  // engine/run_outcome.h

struct UiReceiver {
  // Each is called on the posting thread and must only queue; ownership passes with the call.
  std::function<void(std::wstring viewLine)> logLine;
  std::function<void(std::wstring text)> statusText;
  std::function<void(std::unique_ptr<RunOutcome> outcome)> testDone;
};

// Registers the receiver (an empty one unregisters). Thread-safe.
void SetUiReceiver(UiReceiver receiver);

// The registered receiver, or null. Callers hold the returned pointer while they post.
std::shared_ptr<const UiReceiver> CurrentUiReceiver();

}  // namespace velkor
