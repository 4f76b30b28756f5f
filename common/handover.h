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

// The calling thread's run context's receiver when it has one, else the registered receiver, or
// null. Callers hold the returned pointer while they post.
std::shared_ptr<const UiReceiver> CurrentUiReceiver();

// Whose run a thread works for, where one process runs several at once (velkor-cli with several
// targets): its log lines begin with logPrefix, and its texts and outcome go to receiver (when
// set) instead of the registered one. A thread without a context (the window's run, a single
// velkor-cli run) logs and hands over as before.
struct RunContext {
  std::wstring logPrefix;
  std::shared_ptr<const UiReceiver> receiver;
};

// Gives the calling thread a context (null: none) while it lives; the one before returns after. A
// thread starts without one: whoever starts a thread for a run passes ThreadRunContext() on to it.
// The context lives here, on the thread's stack, not in a thread_local object with a destructor:
// MinGW's emulated thread-local storage may be freed before such destructors run at thread exit.
class ScopedRunContext {
 public:
  explicit ScopedRunContext(std::shared_ptr<const RunContext> context);
  ~ScopedRunContext();
  ScopedRunContext(const ScopedRunContext&) = delete;
  ScopedRunContext& operator=(const ScopedRunContext&) = delete;

 private:
  std::shared_ptr<const RunContext> context_;
  const std::shared_ptr<const RunContext>* outer_;
};

// The calling thread's context, or null.
const std::shared_ptr<const RunContext>& ThreadRunContext();

}  // namespace velkor
