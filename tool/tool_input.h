// Opening and reading the input a schedule-tool command reads: a file
// through file access, with the same name rules, locks and messages as the
// build, or standard input for the name "-".
#ifndef ZELTO_TOOL_TOOL_INPUT_H_
#define ZELTO_TOOL_TOOL_INPUT_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "schedule/schedule_builder.h"

namespace tool {

/// The file number every command reads its input under: the build's own,
/// since a schedule text is read through the build's line reader.
inline constexpr int16_t kToolInputFile = schedule::kInputFile;

/// The file number a teams file is read under (--teams, export's TEAMS),
/// held open beside the season and the output, above the numbers the
/// commands' temporary files take.
inline constexpr int16_t kToolTeamsFile = 5;

/// The file number a distances file is read under (--distances), held open
/// as the teams file is.
inline constexpr int16_t kToolDistancesFile = 6;

/// The read-buffer size of schedule-tool's reads.
inline constexpr uint32_t kToolReadBuffer = 64 * 1024;

/// Opens `name` ("-": standard input) as file `number` for sequential input.
int OpenToolInput(int16_t number, const std::string& name);

/// Hands a piece of an input to whoever reads it.
using TakePiece = std::function<void(std::string_view piece)>;

/// Reads input `number`, opened already, to its end, at most `limit` bytes
/// (0: no limit), handing each piece to `take`. The failure as a message
/// naming `what` and `name` ("Cannot read team map "x": ..."), or empty.
std::string ReadToEnd(int16_t number, const std::string& name, std::string_view what,
                      size_t limit, const TakePiece& take);

/// Reads input `number` as ReadToEnd does, with no limit, until its end or
/// until `wanted` answers false after a piece: a reader that has seen
/// enough to refuse the input (endless or foreign data) stops it there.
std::string ReadWhileWanted(int16_t number, const std::string& name, std::string_view what,
                            const TakePiece& take, const std::function<bool()>& wanted);

/// Opens `name` as file `number` and reads it as ReadToEnd does. The file
/// stays open, so that naming it as the output is refused as a file in use.
std::string ReadWholeInput(int16_t number, const std::string& name, std::string_view what,
                           size_t limit, const TakePiece& take);

}  // namespace tool

#endif  // ZELTO_TOOL_TOOL_INPUT_H_
