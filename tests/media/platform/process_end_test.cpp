#include "media/platform/process_end.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace media {
namespace {

struct EndReached {};  // thrown by the test hook in place of ending the process

class ProcessEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEndHook([this] {
      log_.push_back("hook");
      throw EndReached{};
    });
  }
  void TearDown() override {
    SetEndHook([] { throw EndReached{}; });
  }

  std::vector<std::string> log_;
};

TEST_F(ProcessEnd, RunsHandlersNewestFirstThenTheHook) {
  OnEnd([this] { log_.push_back("audio"); });
  OnEnd([this] { log_.push_back("display"); });
  EXPECT_THROW(End(), EndReached);
  EXPECT_EQ(log_, (std::vector<std::string>{"display", "audio", "hook"}));
}

TEST_F(ProcessEnd, HandlersRunOnceEvenWhenOneEndsAgain) {
  int nestedEnds = 0;
  OnEnd([this] { log_.push_back("first"); });
  OnEnd([&] {
    log_.push_back("ends again");
    ++nestedEnds;
    End();  // the nested end reaches the hook without rerunning anyone
  });
  EXPECT_THROW(End(), EndReached);
  EXPECT_EQ(nestedEnds, 1);
  EXPECT_EQ(log_, (std::vector<std::string>{"ends again", "hook"}));

  // The handlers were used up by the first end.
  log_.clear();
  EXPECT_THROW(End(), EndReached);
  EXPECT_EQ(log_, (std::vector<std::string>{"hook"}));
}

TEST_F(ProcessEnd, InstallingAHookForgetsEarlierHandlers) {
  OnEnd([this] { log_.push_back("left over from another test"); });
  SetEndHook([this] {
    log_.push_back("new hook");
    throw EndReached{};
  });
  EXPECT_THROW(End(), EndReached);
  EXPECT_EQ(log_, (std::vector<std::string>{"new hook"}));
}

TEST(ProcessEndDeathTest, WithoutAHookTheProcessEndsWithCodeZeroAfterTheHandlers) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        SetEndHook({});
        OnEnd([] { std::fputs("handler ran", stderr); });
        End();
      },
      ::testing::ExitedWithCode(0), "handler ran");
}

}  // namespace
}  // namespace media
