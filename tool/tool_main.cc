// schedule-tool: the schedule conversion from the command line, for scripts,
// and the commands around it. This file is its command table: every
// command line is read here, one way for all commands, as GNU tools read
// theirs: options before or after the file names, "--" ends the options, a
// file named "-" is standard input (standard output for --output), an
// unknown or repeated option is a usage error that names it, and --help
// anywhere shows that command's help.
#include <cfenv>
#include <cstdio>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "files/file_replace.h"
#include "frame/program_arguments.h"
#include "tool/build/build_command.h"
#include "tool/calendar/calendar_command.h"
#include "tool/check/check_command.h"
#include "tool/dump/dump_command.h"
#include "tool/export/export_command.h"
#include "tool/generate/generate_command.h"
#include "tool/import/import_command.h"
#include "tool/report/report_command.h"
#include "tool/tool_help.h"
#include "tool/tool_output.h"

namespace {

using tool::kUsageError;

int UsageError(const std::string& message) {
  std::fprintf(stderr, "schedule-tool: %s\n%s", message.c_str(), tool::kSynopsis);
  return kUsageError;
}

// One command of the table: its words, its help and its operands.
struct Command {
  CLI::App* app = nullptr;
  const char* help = nullptr;
  std::vector<std::string> operands;
  bool wants_help = false;
};

Command AddCommand(CLI::App* tool, const char* name, const char* help) {
  Command command;
  command.app = tool->add_subcommand(name);
  command.help = help;
  command.app->set_help_flag();  // the command's own --help is ours, below
  return command;
}

// An option with a value. Given twice it is refused after the parse (see
// RepeatedOption), so the parser itself may keep either value.
CLI::Option* AddValueOption(Command* command, const char* name, std::string* value) {
  return command->app->add_option(name, *value)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

// An option that may be given again and again, each value kept in order;
// RepeatedOption lets it be.
CLI::Option* AddRepeatableOption(Command* command, const char* name,
                                 std::vector<std::string>* values) {
  return command->app->add_option(name, *values)
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

void AddOperandsAndHelp(Command* command) {
  command->app->add_flag("-h,--help", command->wants_help);
  command->app->add_option("operands", command->operands)->expected(0, -1);
}

// An option given more than once is refused rather than letting the last
// one win unseen; an option that takes every value given (calendar's
// --team) is meant to be repeated.
std::string RepeatedOption(const CLI::App& app) {
  for (const CLI::Option* option : app.get_options()) {
    if (option->get_positional() || option->count() <= 1) continue;
    if (option->get_multi_option_policy() == CLI::MultiOptionPolicy::TakeAll) continue;
    return "option " + option->get_name() + " is given " + std::to_string(option->count()) +
           " times";
  }
  return "";
}

// The words of a parse error, naming what was not understood.
std::string ParseErrorText(const CLI::ParseError& error) {
  std::string text = error.what();
  const std::string kExtras = "The following argument was not expected: ";
  const std::string kExtrasMany = "The following arguments were not expected: ";
  if (text.rfind(kExtras, 0) == 0) return "unknown option " + text.substr(kExtras.size());
  if (text.rfind(kExtrasMany, 0) == 0) return "unknown options " + text.substr(kExtrasMany.size());
  return text;
}

int Run(const std::vector<std::string>& arguments) {
  CLI::App tool{"schedule-tool"};
  tool.set_help_flag();
  bool wants_help = false, wants_version = false;
  tool.add_flag("-h,--help", wants_help);
  tool.add_flag("--version", wants_version);
  tool.require_subcommand(0, 1);

  Command build = AddCommand(&tool, "build", tool::kBuildHelp);
  AddOperandsAndHelp(&build);
  Command check = AddCommand(&tool, "check", tool::kCheckHelp);
  AddOperandsAndHelp(&check);
  Command dump = AddCommand(&tool, "dump", tool::kDumpHelp);
  std::string format_name = "list";
  std::string output;
  AddValueOption(&dump, "--format", &format_name)->check(CLI::IsMember({"list", "text", "csv"}));
  AddValueOption(&dump, "--output", &output);
  AddOperandsAndHelp(&dump);
  Command import = AddCommand(&tool, "import", tool::kImportHelp);
  tool::ImportArguments import_arguments;
  AddValueOption(&import, "--league", &import_arguments.leagues);
  AddValueOption(&import, "--teams", &import_arguments.teams);
  AddValueOption(&import, "--output", &import_arguments.output);
  AddValueOption(&import, "--teams-output", &import_arguments.teams_output);
  AddOperandsAndHelp(&import);
  Command export_command = AddCommand(&tool, "export", tool::kExportHelp);
  tool::ExportArguments export_arguments;
  AddValueOption(&export_command, "--teams", &export_arguments.teams);
  AddValueOption(&export_command, "--year", &export_arguments.year);
  AddValueOption(&export_command, "--output", &export_arguments.output);
  AddOperandsAndHelp(&export_command);
  Command report = AddCommand(&tool, "report", tool::kReportHelp);
  std::string report_by = "team", report_format = "text";
  tool::ReportArguments report_arguments;
  AddValueOption(&report, "--by", &report_by)->check(CLI::IsMember({"team", "pair"}));
  AddValueOption(&report, "--format", &report_format)->check(CLI::IsMember({"text", "csv"}));
  AddValueOption(&report, "--output", &report_arguments.output);
  AddValueOption(&report, "--teams", &report_arguments.teams);
  AddValueOption(&report, "--distances", &report_arguments.distances);
  AddOperandsAndHelp(&report);
  Command calendar = AddCommand(&tool, "calendar", tool::kCalendarHelp);
  tool::CalendarArguments calendar_arguments;
  // --team takes one name each time it is given, and may be given again.
  calendar.app->add_option("--team", calendar_arguments.teams)
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  AddValueOption(&calendar, "--year", &calendar_arguments.year);
  AddValueOption(&calendar, "--format", &calendar_arguments.format)
      ->check(CLI::IsMember({"html", "ics"}));
  AddValueOption(&calendar, "--output", &calendar_arguments.output);
  AddValueOption(&calendar, "--teams", &calendar_arguments.teams_file);
  AddOperandsAndHelp(&calendar);
  Command generate = AddCommand(&tool, "generate", tool::kGenerateHelp);
  tool::GenerateArguments generate_arguments;
  AddValueOption(&generate, "--start", &generate_arguments.start);
  AddValueOption(&generate, "--meetings", &generate_arguments.meetings);
  AddValueOption(&generate, "--division-meetings", &generate_arguments.division_meetings);
  AddValueOption(&generate, "--series", &generate_arguments.series);
  AddValueOption(&generate, "--most-in-a-row", &generate_arguments.most_in_a_row);
  AddValueOption(&generate, "--seed", &generate_arguments.seed);
  AddValueOption(&generate, "--distances", &generate_arguments.distances);
  AddValueOption(&generate, "--effort", &generate_arguments.effort);
  AddValueOption(&generate, "--output", &generate_arguments.output);
  AddRepeatableOption(&generate, "--off-day", &generate_arguments.off_days);
  AddRepeatableOption(&generate, "--no-games", &generate_arguments.no_games);
  AddOperandsAndHelp(&generate);

  // "--" ends the options: what follows is file names, whatever it looks
  // like. The parser is given the words before it alone.
  std::vector<std::string> words = arguments;
  std::vector<std::string> after_options;
  for (size_t i = 1; i < words.size(); ++i) {
    if (words[i] != "--") continue;
    after_options.assign(words.begin() + static_cast<std::ptrdiff_t>(i) + 1, words.end());
    words.resize(i);
    break;
  }
  try {
    // The parser takes the words last first.
    std::vector<std::string> reversed(words.rbegin(), words.rend());
    tool.parse(reversed);
  } catch (const CLI::ParseError& error) {
    // Help asked for anywhere wins over what else the line holds wrong.
    for (const Command* command :
         {&build, &check, &dump, &import, &export_command, &report, &calendar, &generate}) {
      if (command->wants_help) {
        std::fputs(command->help, stdout);
        return 0;
      }
    }
    return UsageError(ParseErrorText(error));
  }

  for (Command* command :
       {&build, &check, &dump, &import, &export_command, &report, &calendar, &generate}) {
    if (!command->app->parsed()) continue;
    command->operands.insert(command->operands.end(), after_options.begin(), after_options.end());
    if (command->wants_help) {
      std::fputs(command->help, stdout);
      return 0;
    }
    if (std::string repeated = RepeatedOption(*command->app); !repeated.empty()) {
      return UsageError(command->app->get_name() + ": " + repeated);
    }
  }
  if (build.app->parsed()) {
    if (build.operands.size() != 2) return UsageError("build takes an INPUT and an OUTPUT file");
    return tool::RunBuild(build.operands[0], build.operands[1]);
  }
  if (check.app->parsed()) {
    if (check.operands.size() != 1) return UsageError("check takes one INPUT file");
    return tool::RunCheck(check.operands[0]);
  }
  if (dump.app->parsed()) {
    if (dump.operands.size() != 1) return UsageError("dump takes one schedule FILE");
    tool::DumpFormat format = format_name == "text" ? tool::DumpFormat::kText
                                  : format_name == "csv" ? tool::DumpFormat::kCsv
                                                         : tool::DumpFormat::kListing;
    return tool::RunDump(dump.operands[0], format, output);
  }
  if (import.app->parsed()) {
    if (import.operands.size() != 1) return UsageError("import takes one SEASON file");
    return tool::RunImport(import.operands[0], import_arguments);
  }
  if (export_command.app->parsed()) {
    if (export_command.operands.size() != 1) return UsageError("export takes one SEASON file");
    return tool::RunExport(export_command.operands[0], export_arguments);
  }
  if (report.app->parsed()) {
    if (report.operands.size() != 1) return UsageError("report takes one SEASON file");
    report_arguments.by = report_by == "pair" ? tool::ReportBy::kPair : tool::ReportBy::kTeam;
    report_arguments.format =
        report_format == "csv" ? tool::ReportFormat::kCsv : tool::ReportFormat::kText;
    return tool::RunReport(report.operands[0], report_arguments);
  }
  if (calendar.app->parsed()) {
    if (calendar.operands.size() != 1) return UsageError("calendar takes one SEASON file");
    return tool::RunCalendar(calendar.operands[0], calendar_arguments);
  }
  if (generate.app->parsed()) {
    if (generate.operands.size() != 1) return UsageError("generate takes one TEAMS file");
    return tool::RunGenerate(generate.operands[0], generate_arguments);
  }
  if (wants_version) {
    std::printf("schedule-tool %s\n", ZELTO_VERSION);
    return 0;
  }
  if (wants_help) {
    std::fputs(tool::kSynopsis, stdout);
    std::fputs(tool::kOverview, stdout);
    return 0;
  }
  return UsageError("no command given");
}

}  // namespace

int main(int argc, char** argv) {
  // Record numbers round to nearest, halves to even.
  std::fesetround(FE_TONEAREST);
  // A write past a file-size limit fails as a full disk, standard output
  // included, instead of ending the program without a word.
  files::IgnoreFileSizeSignal();
  // Dumps and imports go out byte for byte; names arrive as the file API
  // takes them.
  frame::UseBinaryStandardOutput();
  std::vector<std::string> arguments = frame::ProgramArguments(argc, argv);
  return Run(arguments);
}
