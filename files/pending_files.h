// The new files not yet put in place, by name, for the fatal-signal cleanup:
// a signal that ends the program removes each one (and the empty file that
// held a free schedule name), so nothing is left beside the schedule file.
// The names are kept in static buffers, since the cleanup may not allocate.
#ifndef ZELTO_FILES_PENDING_FILES_H_
#define ZELTO_FILES_PENDING_FILES_H_

#include <string>

namespace files {

/// Notes the new file `new_path` and, when not empty, the empty file
/// `placeholder` for removal by a fatal signal; registers the cleanup on
/// first use. Returns the slot, or -1 when no slot is free or a name does
/// not fit (the file is then removed only by an orderly close).
int NotePendingFile(const std::string& new_path, const std::string& placeholder);

/// Stops removing the slot's placeholder: it is about to be replaced.
void ForgetPlaceholder(int slot);

/// Stops removing anything of the slot (-1 does nothing).
void ForgetPendingFile(int slot);

}  // namespace files

#endif  // ZELTO_FILES_PENDING_FILES_H_
