#pragma once
// Faults that tests inject into our software Direct3D and DirectDraw devices, so that every
// failure path of the graphics set-up can be reached. Calls are named as "Interface::Method"
// (for example "IDirectDraw7::SetDisplayMode") or by the free function's name.
#include <string>

namespace plat {

// The next `times` calls of `call` fail, after `skip` calls that succeed.
void FailDeviceCall(const std::string& call, int times = 1, int skip = 0);
// Forgets every injected fault.
void ClearDeviceFaults();
// Asked by the devices at each named call: true when this one is to fail.
bool DeviceCallFails(const char* call);

}  // namespace plat
