#include "files/platform_faults.h"

namespace files {
namespace {

// One injected failure per kind of call, for tests only.
InjectedFault injected[static_cast<int>(PlatformCall::kReserve) + 1];

}  // namespace

bool FaultDue(PlatformCall call, InjectedFault* out) {
  InjectedFault& fault = injected[static_cast<int>(call)];
  if (!fault.armed) return false;
  if (fault.calls_before > 0) {
    --fault.calls_before;
    return false;
  }
  *out = fault;
  fault.armed = false;
  return true;
}

bool WriteFaultDue(uint32_t* size, InjectedFault* out) {
  if (!FaultDue(PlatformCall::kWriteAt, out)) return false;
  if (out->short_by == 0) return true;
  *size = out->short_by >= *size ? 0 : *size - out->short_by;
  return false;
}

void InjectPlatformFault(PlatformCall call, int calls_before, int code, uint32_t short_by) {
  injected[static_cast<int>(call)] = InjectedFault{true, calls_before, code, short_by};
}

void ClearPlatformFaults() {
  for (InjectedFault& fault : injected) fault = InjectedFault{};
}

}  // namespace files
