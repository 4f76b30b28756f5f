// A gate every device query of the drive table and every deletion of test files passes. A window
// test holds it to stand for a device that takes long to answer: the window must keep answering
// meanwhile. Nothing but a test ever holds it.
#pragma once

namespace velkor {

// Holds (true) or releases (false) the gate; releasing lets every waiting caller go on.
void HoldDeviceWork(bool hold);
// How many callers wait at the gate now.
int DeviceWorkWaiting();
// Returns at once unless the gate is held; then waits until it is released.
void PassDeviceGate();

}  // namespace velkor
