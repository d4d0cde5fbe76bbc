#include "files/pending_files.h"

#include <csignal>
#include <cstring>

#include "files/platform_file.h"
#include "frame/fatal_signals.h"

namespace files {
namespace {

// Room for the longest name the platform takes and its NUL.
constexpr size_t kPathBufferSize = 4097;
constexpr int kSlots = 4;

// Read by the signal handler: each slot's names are filled before it is
// marked used, and it is marked free before they change.
struct PendingSlot {
  volatile sig_atomic_t used = 0;
  volatile sig_atomic_t has_placeholder = 0;
  char new_path[kPathBufferSize] = {};
  char placeholder[kPathBufferSize] = {};
};

PendingSlot pending[kSlots];

// Async-signal-safe: unlink or DeleteFileA of names already in place.
void RemovePendingFiles() {
  for (PendingSlot& slot : pending) {
    if (!slot.used) continue;
    if (slot.new_path[0] != 0) PlatformRemovePath(slot.new_path);
    if (slot.has_placeholder) PlatformRemovePath(slot.placeholder);
  }
}

bool AnyUsed() {
  for (const PendingSlot& slot : pending) {
    if (slot.used) return true;
  }
  return false;
}

}  // namespace

int NotePendingFile(const std::string& new_path, const std::string& placeholder) {
  if (new_path.size() >= kPathBufferSize || placeholder.size() >= kPathBufferSize) return -1;
  for (int i = 0; i < kSlots; ++i) {
    PendingSlot& slot = pending[i];
    if (slot.used) continue;
    std::memcpy(slot.new_path, new_path.c_str(), new_path.size() + 1);
    std::memcpy(slot.placeholder, placeholder.c_str(), placeholder.size() + 1);
    slot.has_placeholder = placeholder.empty() ? 0 : 1;
    if (!frame::AddFatalSignalCleanup(RemovePendingFiles)) return -1;
    slot.used = 1;
    return i;
  }
  return -1;
}

void ForgetPlaceholder(int slot) {
  if (slot >= 0 && slot < kSlots) pending[slot].has_placeholder = 0;
}

void ForgetPendingFile(int slot) {
  if (slot < 0 || slot >= kSlots) return;
  pending[slot].used = 0;
  if (!AnyUsed()) frame::RemoveFatalSignalCleanup(RemovePendingFiles);
}

}  // namespace files
