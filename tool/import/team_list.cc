#include "tool/import/team_list.h"

namespace tool {

// A few hundred codes, looked up once per team a season names: a plain scan.
const TeamListEntry* FindTeam(std::string_view code) {
  for (const TeamListEntry& entry : TeamList()) {
    if (entry.code == code) return &entry;
  }
  return nullptr;
}

}  // namespace tool
