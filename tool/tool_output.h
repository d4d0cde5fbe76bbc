// Where a schedule-tool command's made text and its failures go: the text to
// standard output, or to the file --output names, written all or nothing;
// failures to standard error, each as schedule-tool's own line; and the exit
// status that tells them apart. The output file is opened before the input
// is read whole, so that an output naming the input is refused as a file in
// use rather than clobbering it.
#ifndef ZELTO_TOOL_TOOL_OUTPUT_H_
#define ZELTO_TOOL_TOOL_OUTPUT_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace tool {

/// The exit status of a command line that was not understood; a command
/// answers 0 (done; check: nothing found) or 1 (failed; check: something
/// found).
inline constexpr int kUsageError = 2;

/// The file number every command writes its --output under, beside its
/// input (kToolInputFile).
inline constexpr int16_t kToolOutputFile = 2;

/// Prints `message` on standard error as schedule-tool's own line.
void PrintFailure(const std::string& message);

/// Flushes standard output: 0, or 1 with the message when it could not be
/// written (a full disk, a closed pipe).
int FinishStandardOutput();

/// True when `output` names standard output: no --output, or "-".
bool ToStandardOutput(const std::string& output);

/// Opens `output` as text output file `number`, unless it names standard
/// output. The failure as a message ("Cannot open file ..."), or empty.
std::string OpenToolOutput(int16_t number, const std::string& output);

/// Hands `text` on to standard output, or to file `number` opened by
/// OpenToolOutput: 0, or the code of the failure.
int PutToolOutput(int16_t number, const std::string& output, std::string_view text);

/// Ends the output after PutToolOutput, whose first failure is `failure`
/// (0: none): flushes standard output, or puts file `number` in place.
/// Every file is closed after (an output not put in place is removed).
/// 0, or 1 with the failure printed.
int FinishToolOutput(int16_t number, const std::string& output, int failure);

/// Writes `text` whole: PutToolOutput, then FinishToolOutput.
int WriteToolOutput(int16_t number, const std::string& output, std::string_view text);

}  // namespace tool

#endif  // ZELTO_TOOL_TOOL_OUTPUT_H_
