// The words the program uses to tell the user what went wrong in a build.
// The interactive dialogue and the batch command show the same lines.
#ifndef ZELTO_SCHEDULE_BUILD_REPORT_H_
#define ZELTO_SCHEDULE_BUILD_REPORT_H_

#include <string>

#include "schedule/schedule_builder.h"

namespace schedule {

/// One line naming the file and the reason, e.g.
/// `Cannot open input file "x.txt": File not found`.
std::string DescribeFailure(const BuildFailure& failure, const std::string& input_name,
                            const std::string& output_name);

}  // namespace schedule

#endif  // ZELTO_SCHEDULE_BUILD_REPORT_H_
