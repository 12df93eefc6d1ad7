#include "core/startup.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavisnap {
namespace {

TEST(Startup, SecondStartJoinsItsParametersWithBars) {
  EXPECT_EQ(JoinInstanceParameters({"a", "b", "c"}), "a|b|c");
  EXPECT_EQ(JoinInstanceParameters({"只一つ"}), "只一つ");
  EXPECT_EQ(JoinInstanceParameters({}), "");
  EXPECT_EQ(JoinInstanceParameters({"", "x"}), "|x");  // an empty parameter keeps its place
}

TEST(Startup, SplashIsCentredWithIntegerDivision) {
  Origin o = CentredOrigin(1920, 1080, 310, 181);
  EXPECT_EQ(o.left, 805);
  EXPECT_EQ(o.top, 449);  // 899 / 2 rounds down
  Origin small = CentredOrigin(300, 100, 310, 181);
  EXPECT_EQ(small.left, -5);  // larger than the screen: centred all the same
  EXPECT_EQ(small.top, -40);
}

struct ProbeLog {
  int probes = 0, pumps = 0;
  std::vector<int> sleeps;
};

InternetWait Recorded(ProbeLog& log, int connectAt) {
  InternetWait w;
  w.isConnected = [&log, connectAt] { return ++log.probes >= connectAt; };
  w.processMessages = [&log] { ++log.pumps; };
  w.sleep = [&log](int ms) { log.sleeps.push_back(ms); };
  return w;
}

TEST(Startup, ConnectionFoundOnTheThirdProbeWaitsASecondThenGoesOn) {
  ProbeLog log;
  EXPECT_TRUE(WaitForInternet(Recorded(log, 3)));
  EXPECT_EQ(log.probes, 3);
  EXPECT_EQ(log.pumps, 3) << "the splash must paint between probes";
  EXPECT_EQ(log.sleeps, (std::vector<int>{500, 500, 1000}));
}

TEST(Startup, NoConnectionGivesUpAfter120ProbesOfHalfASecond) {
  ProbeLog log;
  EXPECT_FALSE(WaitForInternet(Recorded(log, 1000)));
  EXPECT_EQ(log.probes, 120);
  int total = 0;
  for (int ms : log.sleeps) total += ms;
  EXPECT_EQ(total, 60000);
}

}  // namespace
}  // namespace tavisnap
