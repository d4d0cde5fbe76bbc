// What the import tests make their seasons of: a season file's row, and an
// import of bytes held in memory.
#ifndef ZELTO_TOOL_IMPORT_IMPORT_TEST_ROWS_H_
#define ZELTO_TOOL_IMPORT_IMPORT_TEST_ROWS_H_

#include <string>
#include <string_view>

#include "tool/import/import_season.h"

namespace tool {

/// The text and the report of one import.
struct Imported {
  std::string text;
  ImportReport report;
};

inline Imported Import(const std::string& bytes, ImportOptions options = {}) {
  if (options.source_name.empty()) options.source_name = "in.txt";
  Imported imported;
  imported.report = ImportSeason(bytes, options, [&](std::string_view piece) { imported.text += piece; });
  return imported;
}

/// A row of a season file.
inline std::string Row(const std::string& date, const std::string& visitor, const std::string& visitor_league,
                const std::string& home, const std::string& home_league, const std::string& game = "0") {
  return "\"" + date + "\",\"" + game + "\",\"Thu\",\"" + visitor + "\",\"" + visitor_league + "\",1,\"" + home +
         "\",\"" + home_league + "\",1,\"d\",\"\",\"\"\r\n";
}

}  // namespace tool

#endif  // ZELTO_TOOL_IMPORT_IMPORT_TEST_ROWS_H_
