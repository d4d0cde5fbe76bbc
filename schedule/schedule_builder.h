// The schedule builder: reads a schedule text file line by line, groups the
// games under their dates and writes the schedule file, a header record and
// then one record per date.
#ifndef ZELTO_SCHEDULE_SCHEDULE_BUILDER_H_
#define ZELTO_SCHEDULE_SCHEDULE_BUILDER_H_

#include <cstdint>
#include <string>
#include <vector>

namespace schedule {

/// The file numbers the builder opens its two files under.
inline constexpr int16_t kInputFile = 1;
inline constexpr int16_t kScheduleFile = 2;

/// Which of the two files a failure concerns.
enum class FileRole : uint8_t { kInput, kSchedule };

/// What the builder was doing when it failed.
enum class FailedStep : uint8_t { kOpen, kRead, kWrite, kClose };

/// One failure: the file, the step, the run-time error code and, for a
/// failure the input's text causes, the editor line (0 for none).
struct BuildFailure {
  FileRole file;
  FailedStep step;
  int code;
  int64_t line = 0;
};

/// Something in the input the build did not take as written: the editor
/// line it stands on (0 for the whole input) and what the build did.
struct BuildWarning {
  int64_t line = 0;
  std::string message;
  bool operator==(const BuildWarning&) const = default;
};

/// What a build did: the records written, the failures that stopped it and
/// the warnings about input it could not take as written.
struct BuildOutcome {
  int records_written = 0;  ///< the header included
  std::vector<BuildFailure> failures;
  std::vector<BuildWarning> warnings;
  /// True when nothing failed; warnings may still be there.
  bool Succeeded() const { return failures.empty(); }
};

/// How the two files are buffered. Any sizes give the same schedule file.
struct BuildBuffers {
  uint32_t read_buffer = 128;  ///< bytes of input read at a time
  uint32_t write_behind = 0;   ///< bytes of records gathered before writing; 0: each at once
};

/// The buffers of the batch command: large reads, records written in batches.
inline constexpr BuildBuffers kBatchBuffers{64 * 1024, 1024 * 1024};

/// Builds the schedule file `output_name` from the schedule text file
/// `input_name`, both names used exactly as given. When the input cannot be
/// opened the schedule file is not touched; after a complete build the
/// schedule file holds exactly the records written. An input with no date
/// line, in UTF-16, or that is itself a schedule file builds nothing.
BuildOutcome BuildSchedule(const std::string& input_name, const std::string& output_name,
                           BuildBuffers buffers = {});

/// Builds from the input already open as file kInputFile (standard input,
/// say) into `output_name`; the input is closed at the end.
BuildOutcome BuildScheduleFromOpenInput(const std::string& output_name, BuildBuffers buffers);

/// Builds from the input already open as file kInputFile into standard
/// output, which gets the schedule file's bytes only when the build
/// succeeds; the input is closed at the end.
BuildOutcome BuildScheduleToStandardOutput(BuildBuffers buffers);

/// Builds from the input open as kInputFile into the records file open as
/// kScheduleFile (memory files, for the in-memory fuzzer, or disk files);
/// both are closed at the end.
BuildOutcome BuildIntoOpenSchedule();

}  // namespace schedule

#endif  // ZELTO_SCHEDULE_SCHEDULE_BUILDER_H_
