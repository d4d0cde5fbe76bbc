// Checking a schedule text before it is built: every line that the build
// takes in a way a person may not expect, with the editor line it stands on
// and what the build does instead.
#ifndef ZELTO_SCHEDULE_SCHEDULE_CHECK_H_
#define ZELTO_SCHEDULE_SCHEDULE_CHECK_H_

#include <streambuf>
#include <string>
#include <vector>

namespace schedule {

/// One thing the build will do that the text does not show plainly.
struct CheckFinding {
  int line;             ///< the line as an editor counts it, from 1
  std::string message;  ///< what stands there and what the build does with it
};

/// The findings for the schedule text in `bytes`, in line order; none for a
/// text that builds just as it reads.
std::vector<CheckFinding> CheckScheduleText(std::streambuf* bytes);

/// The findings for the schedule text file `path`. False, with the line to
/// show in `failure`, when the file cannot be read.
bool CheckScheduleFile(const std::string& path, std::vector<CheckFinding>* findings,
                       std::string* failure);

}  // namespace schedule

#endif  // ZELTO_SCHEDULE_SCHEDULE_CHECK_H_
