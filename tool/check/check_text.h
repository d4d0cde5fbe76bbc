// Checking a schedule text before it is built: every line that the build
// takes in a way a person may not expect, with the editor line it stands on
// and what the build does instead. The checker reads through the same
// reader and the same grouper as the build, so what it says is what the
// build does.
#ifndef ZELTO_TOOL_CHECK_CHECK_TEXT_H_
#define ZELTO_TOOL_CHECK_CHECK_TEXT_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tool {

/// One thing the build will do that the text does not show plainly.
struct CheckFinding {
  int64_t line;         ///< the line as an editor counts it, from 1
  std::string message;  ///< what stands there and what the build does with it
};

/// Where each finding goes as soon as its place in the order is known.
using FindingTaker = std::function<void(const CheckFinding&)>;

/// Hands the findings for the schedule text file `path` ("-": standard
/// input) to `take` as the text is read, in line order (the likely
/// misspellings of a team name, known only when the whole season has been
/// read, come last, in the order of their names); none for a text that
/// builds just as it reads. What is held grows with the teams, never with
/// the lines: a finding that a later one must stand after waits in a
/// temporary file when many do. False, with the line to show in `failure`,
/// when the file cannot be read as a schedule text at all (it cannot be
/// opened, it is UTF-16, it is a schedule file).
bool CheckScheduleFile(const std::string& path, const FindingTaker& take, std::string* failure);

/// The same findings gathered in `findings`, for a text of a size to hold.
bool CheckScheduleFile(const std::string& path, std::vector<CheckFinding>* findings,
                       std::string* failure);

}  // namespace tool

#endif  // ZELTO_TOOL_CHECK_CHECK_TEXT_H_
