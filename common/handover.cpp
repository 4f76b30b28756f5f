#include "common/handover.h"

#include <mutex>

namespace velkor {
namespace {

std::mutex gReceiverMutex;
std::shared_ptr<const UiReceiver> gReceiver;

// Trivially destructible: see ScopedRunContext.
thread_local const std::shared_ptr<const RunContext>* tRunContext = nullptr;
const std::shared_ptr<const RunContext> kNoContext;

}  // namespace

void SetUiReceiver(UiReceiver receiver) {
  std::shared_ptr<const UiReceiver> next;
  if (receiver.logLine || receiver.statusText || receiver.testDone) {
    next = std::make_shared<const UiReceiver>(std::move(receiver));
  }
  std::lock_guard<std::mutex> lock(gReceiverMutex);
  gReceiver = std::move(next);
}

std::shared_ptr<const UiReceiver> CurrentUiReceiver() {
  const std::shared_ptr<const RunContext>& context = ThreadRunContext();
  if (context && context->receiver) return context->receiver;
  std::lock_guard<std::mutex> lock(gReceiverMutex);
  return gReceiver;
}

ScopedRunContext::ScopedRunContext(std::shared_ptr<const RunContext> context)
    : context_(std::move(context)), outer_(tRunContext) {
  tRunContext = &context_;
}

ScopedRunContext::~ScopedRunContext() { tRunContext = outer_; }

const std::shared_ptr<const RunContext>& ThreadRunContext() { return tRunContext ? *tRunContext : kNoContext; }

}  // namespace velkor
