// A command's made text held back until the command knows it whole, for a
// command that finds its refusals only as it reads (import, export): into
// the new file of --output, put in place at the end, or, for standard
// output, into a temporary file copied out at the end. A command that gives
// up leaves the output as it was, and standard output empty; memory never
// holds the text.
#ifndef ZELTO_TOOL_OUTPUT_SPOOL_H_
#define ZELTO_TOOL_OUTPUT_SPOOL_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace tool {

/// Copies the spool open as file `number` to standard output: 0, or the
/// code of a failure to read it back (a failure to write is told by
/// FinishStandardOutput).
int CopySpoolOut(int16_t number);

/// Text for --output `output` ("-" or empty: standard output), held under
/// file `number` until Finish.
class OutputSpool {
 public:
  /// `what` names the text in a message about its temporary file.
  OutputSpool(int16_t number, std::string output, std::string what);

  /// Opens the file, or the temporary file: the failure as a message, or
  /// empty.
  std::string Open();

  /// Adds `bytes` after what was put: 0, or the code of the failure.
  int Put(std::string_view bytes);

  /// Puts the text out when `whole`, after Put's first failure `failure`
  /// (0: none): the file in place, or the temporary file's bytes to
  /// standard output. 0 when it was put out, else 1 (a failure is printed).
  /// The caller ends with files::CloseAllFiles, which removes a new file
  /// not put in place and the temporary file, so that a command writing
  /// two files puts both out before either is lost.
  int Finish(bool whole, int failure);

 private:
  int16_t number_;
  std::string output_;
  std::string what_;
};

}  // namespace tool

#endif  // ZELTO_TOOL_OUTPUT_SPOOL_H_
