// The test seam of the platform file layer, the same on every platform: a
// test arms a failure of one kind of platform call (InjectPlatformFault in
// platform_file.h), and the call asks FaultDue before it does anything (a
// close and a replacement in the portable code that makes them, the other
// calls in each platform's own), so the program's handling of failing files
// can be tested without a failing disk.
#ifndef ZELTO_FILES_PLATFORM_FAULTS_H_
#define ZELTO_FILES_PLATFORM_FAULTS_H_

#include <cstdint>

#include "files/platform_file.h"

namespace files {

/// One injected failure of a kind of call, as a test armed it.
struct InjectedFault {
  bool armed = false;     ///< a failure is waiting
  int calls_before = 0;   ///< successful calls still to go before it
  int code = 0;           ///< the run-time error code the call answers
  uint32_t short_by = 0;  ///< for a write: bytes reported short instead of an error
};

/// Counts down an armed fault of `call`; true when this call is the one to
/// fail, with the fault copied to `out` and disarmed.
bool FaultDue(PlatformCall call, InjectedFault* out);

/// The same for a write of `*size` bytes, where a fault may instead make the
/// write short: then `*size` is cut by the fault's short_by and the answer is
/// false, so the write goes ahead with fewer bytes and reports no error.
bool WriteFaultDue(uint32_t* size, InjectedFault* out);

}  // namespace files

#endif  // ZELTO_FILES_PLATFORM_FAULTS_H_
