// The schedule file's records as the tests expect them, written out byte by
// byte rather than made by the code under test: the header, a date record
// and a game's slot. Test-only.
#ifndef ZELTO_TESTING_EXPECTED_RECORDS_H_
#define ZELTO_TESTING_EXPECTED_RECORDS_H_

#include <string>
#include <vector>

#include "schedule/schedule_record.h"

namespace schedule {

/// The header record: "D" and 429 spaces.
inline const std::string kHeader = "D" + std::string(429, ' ');

/// A date record of `date` with `games` (28 bytes each at most) in slots 1 on.
inline std::string DateRecord(const std::string& date, const std::vector<std::string>& games) {
  std::string record = "  " + date;
  record.resize(10, ' ');
  for (std::string game : games) {
    game.resize(28, ' ');
    record += game;
  }
  record.resize(kRecordLength, ' ');
  return record;
}

/// A game slot as the columns put it: visitor, home, options.
inline std::string Game(const std::string& visitor, const std::string& home,
                        const std::string& options = "") {
  std::string slot = visitor;
  slot.resize(8, ' ');
  std::string h = home;
  h.resize(8, ' ');
  return slot + h + options;
}

}  // namespace schedule

#endif  // ZELTO_TESTING_EXPECTED_RECORDS_H_
