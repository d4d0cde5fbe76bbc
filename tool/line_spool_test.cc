#include "tool/line_spool.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/process_state.h"

namespace tool {
namespace {

// Lines come back in the order they were added, whether they waited in
// memory or in the temporary file, and the store takes lines again after
// they are put out (check holds and releases its findings many times).
TEST(LineSpool, GiveBackEveryLineInOrderAgainAndAgain) {
  LineSpool held(7);
  for (int round = 0; round < 3; ++round) {
    // A few lines stay in memory; 20,000 lines of 40 bytes go past it.
    const int count = round == 1 ? 3 : 20000;
    std::vector<std::string> added;
    for (int i = 0; i < count; ++i) {
      added.push_back("round " + std::to_string(round) + " line " + std::to_string(i) +
                      std::string(i % 7 == 0 ? 0 : 20, 'x'));
      held.Add(added.back());
    }
    std::vector<std::string> out;
    EXPECT_EQ(held.PutOut([&out](const std::string& line) { out.push_back(line); }), 0);
    EXPECT_EQ(out, added) << "round " << round;
  }
  EXPECT_EQ(held.failure(), 0);
  testing_support::ResetProcessState();
}

}  // namespace
}  // namespace tool
