#include "builder/console_dialogue.h"

#include <string>

#include "builder/introduction.h"
#include "console/console_output.h"
#include "console/key_records.h"
#include "console/line_input.h"
#include "console/platform_console.h"
#include "files/input_wait.h"
#include "schedule/messages.h"
#include "schedule/schedule_builder.h"

namespace builder {

using schedule::BuildFailure;
using schedule::BuildOutcome;
using schedule::BuildSchedule;
using schedule::BuildWarning;
using schedule::DescribeFailure;
using schedule::DescribeWarning;

namespace {

void PrintLine(const std::string& text) {
  console::PrintText(text);
  console::PrintNewline();
}

}  // namespace

int RunDialogue() {
  console::ClearScreen();
  for (const char* line : kIntroduction) PrintLine(line);

  // Both prompts end in a blank so the typed name starts one column after
  // the colon. The names are used as typed: no extension is added.
  console::PrintText("Input File: ");
  std::string input_name = console::ReadLine();
  console::PrintText("Output Schedule File (include .SCH extension): ");
  std::string output_name = console::ReadLine();

  // An input that waits for its writer (a FIFO) is waited for until Ctrl+C.
  files::SetInputWaitHook(console::TakeInterruptKey);
  BuildOutcome outcome = BuildSchedule(console::NameForFileSystem(input_name),
                                       console::NameForFileSystem(output_name));

  // Warnings come first; a failure takes the place of "Done", so that the
  // screen never says a failed build was done.
  for (const BuildWarning& warning : outcome.warnings) PrintLine(DescribeWarning(warning));
  for (const BuildFailure& failure : outcome.failures) {
    PrintLine(DescribeFailure(failure, input_name, output_name));
  }
  if (outcome.Succeeded()) PrintLine("Done");
  PrintLine("----");
  console::PrintText("Hit any key to exit");
  // Only Enter ends this read, as every line read; what is typed is dropped.
  console::ReadLine();
  return outcome.Succeeded() ? 0 : 1;
}

}  // namespace builder
