// The words the program uses to tell the user what a build did and what
// went wrong. The interactive dialogue and the batch command show the same
// lines.
#ifndef ZELTO_SCHEDULE_BUILD_REPORT_H_
#define ZELTO_SCHEDULE_BUILD_REPORT_H_

#include <string>

#include "schedule/schedule_builder.h"

namespace schedule {

/// One line naming the file and the reason, e.g.
/// `Cannot open input file "x.txt": File not found`, with the line of the
/// input where the text itself is the reason.
std::string DescribeFailure(const BuildFailure& failure, const std::string& input_name,
                            const std::string& output_name);

/// A warning as one line: `line 12: message`.
std::string DescribeWarning(const BuildWarning& warning);

/// What a complete build wrote: "1 record written (the header)", "2 records
/// written (the header and 1 date)", "5 records written (the header and 4
/// dates)".
std::string RecordsWrittenText(int records_written);

/// The games of a date past the 15th: "the 1 game after the 15th was left
/// out", "the 3 games after the 15th were left out".
std::string LeftOutText(int left_out);

}  // namespace schedule

#endif  // ZELTO_SCHEDULE_BUILD_REPORT_H_
