// Screens kept in the repository (e2e/screens/NAME.txt, one line per row,
// trailing blanks cut, as TmuxSession::Screen gives them), so that a fault
// in console output cannot pass a test by being on both sides of it.
#ifndef ZELTO_E2E_STORED_SCREENS_H_
#define ZELTO_E2E_STORED_SCREENS_H_

#include <string>
#include <vector>

#include "testing/temp_dir.h"

namespace e2e {

/// The rows of the stored screen `name`.
inline std::vector<std::string> StoredScreen(const std::string& name) {
  const std::string text =
      testing_support::ReadFileBytes(std::string(ZELTO_SCREENS_DIR) + "/" + name + ".txt");
  std::vector<std::string> rows;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    rows.push_back(text.substr(start, end - start));
  }
  return rows;
}

}  // namespace e2e

#endif  // ZELTO_E2E_STORED_SCREENS_H_
