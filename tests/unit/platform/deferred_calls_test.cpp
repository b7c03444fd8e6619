#include "platform/deferred_calls.h"

#include <gtest/gtest.h>

#include <string>

namespace tellu {
namespace {

// A loop round as the platforms run one: the calls, with nothing to wake.
void Round(DeferredCalls& calls) { calls.RunRound(nullptr); }

TEST(DeferredCalls, ANestedRoundRunsTheCallsBehindAndDuringTheOneThatOpenedIt) {
  DeferredCalls calls;
  std::string order;
  int wakes = 0;
  calls.Push([&] {
    order += "a(";
    calls.Push([&] { order += "c"; });  // queued while a runs
    Round(calls);                       // the box's loop
    order += ")";
  });
  calls.Push([&] { order += "b"; });
  calls.RunRound([&] { ++wakes; });
  EXPECT_EQ(order, "a(bc)");
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(wakes, 1) << "a left b waiting";
}

TEST(DeferredCalls, WhatARoundQueuesWaitsForTheNextRound) {
  DeferredCalls calls;
  int runs = 0;
  std::function<void()> again = [&] {
    ++runs;
    calls.Push(again);
  };
  calls.Push(again);
  Round(calls);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(calls.empty());
  Round(calls);
  EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace tellu
