#include "common/handover.h"

#include <mutex>

namespace velkor {
namespace {

std::mutex gReceiverMutex;
std::shared_ptr<const UiReceiver> gReceiver;

thread_local std::shared_ptr<const RunContext> tRunContext;

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
  if (tRunContext && tRunContext->receiver) return tRunContext->receiver;
  std::lock_guard<std::mutex> lock(gReceiverMutex);
  return gReceiver;
}

void SetThreadRunContext(std::shared_ptr<const RunContext> context) { tRunContext = std::move(context); }

const std::shared_ptr<const RunContext>& ThreadRunContext() { return tRunContext; }

}  // namespace velkor
