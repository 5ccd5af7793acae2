// tesva-arena, run as a user runs it: bad arguments, and the same results
// whatever the number of threads.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "support/run_command.h"

namespace {

// The exit status and all the program printed, its errors included.
std::pair<int, std::string> Arena(const std::string& arguments, const std::string& env = "") {
  return tesva::RunCommand(env + " '" TESVA_ARENA "' " + arguments + " 2>&1");
}

TEST(Arena, BadArgumentsAreNamedAndExitWithTwo) {
  for (const char* arguments :
       {"usta", "usta pro greedy", "usta master", "wizard pro", "--games 0 usta pro",
        "--games ten usta pro", "--games -3 usta pro", "--hands 0 pro pro", "--hands 100 pro pro",
        "--jobs 0 pro pro", "--seed x pro pro", "--frobnicate pro pro", "pro pro --games"}) {
    SCOPED_TRACE(arguments);
    auto [status, out] = Arena(arguments);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(out.rfind("tesva-arena: ", 0), 0u) << out;
    EXPECT_NE(out.find("usage: "), std::string::npos);
  }
  EXPECT_EQ(Arena("pro pro", "TESVA_USTA_SEARCH=0").first, 2);
}

TEST(Arena, ResultsDoNotDependOnTheThreads) {
  auto summary = [](const char* jobs) {
    auto [status, out] =
        Arena(std::string("--games 6 --hands 2 --seed 9 --json --jobs ") + jobs + " usta pro",
              "TESVA_USTA_SEARCH=2");
    EXPECT_EQ(status, 0) << out;
    auto json = nlohmann::json::parse(out);
    for (const char* timing : {"seconds", "games_per_second", "jobs"}) json.erase(timing);
    return json;
  };
  auto one = summary("1");
  EXPECT_EQ(one, summary("3"));
  EXPECT_EQ(one["human"], "usta");
  EXPECT_EQ(one["computer"], "pro");
  EXPECT_EQ(one["games"], 6);
  EXPECT_EQ(one["human_won"].get<int>() + one["computer_won"].get<int>() + one["drawn"].get<int>(),
            6);
  EXPECT_GT(one["human_mean_points"].get<double>() + one["computer_mean_points"].get<double>(), 0);
}

}  // namespace
