#include "platform/video/d3d9_faults.h"

#include <atomic>
#include <map>
#include <mutex>

namespace plat {
namespace {

struct cFault {
    int skip = 0;
    int times = 0;
};

std::mutex s_FaultLock;
// Set while any fault is registered, so that the calls of a drawing frame take no lock.
std::atomic<bool> s_bArmed{false};
std::map<std::string, cFault>& Faults()
{
    static std::map<std::string, cFault> faults;
    return faults;
}

}  // namespace

void FailDeviceCall(const std::string& call, int times, int skip)
{
    std::lock_guard lock(s_FaultLock);
    Faults()[call] = cFault{skip, times};
    s_bArmed.store(true);
}

void ClearDeviceFaults()
{
    std::lock_guard lock(s_FaultLock);
    Faults().clear();
    s_bArmed.store(false);
}

bool DeviceCallFails(const char* call)
{
    if (!s_bArmed.load(std::memory_order_relaxed)) return false;
    std::lock_guard lock(s_FaultLock);
    auto& faults = Faults();
    if (faults.empty()) return false;
    auto it = faults.find(call);
    if (it == faults.end()) return false;
    if (it->second.skip > 0) {
        --it->second.skip;
        return false;
    }
    if (it->second.times <= 0) return false;
    --it->second.times;
    return true;
}

}  // namespace plat
