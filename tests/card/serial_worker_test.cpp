// The load's worker: jobs in the order posted, beside the caller, failures handed back once.
#include "card/serial_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace sdmate {
namespace {

TEST(SerialWorkerTest, JobsRunInOrderAndFinishWaitsForAllOfThem) {
  SerialWorker worker;
  std::vector<int> ran;  // only the worker writes it until Finish
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 200; ++i) {
      worker.Post([&ran, i] { ran.push_back(i); });
    }
    worker.Finish();
    ASSERT_EQ(ran.size(), 200u * static_cast<std::size_t>(round + 1));
  }
  for (std::size_t i = 0; i < ran.size(); ++i) EXPECT_EQ(ran[i], static_cast<int>(i % 200));
}

TEST(SerialWorkerTest, TheFirstFailureIsThrownByFinishOnceAndLaterJobsStillRun) {
  SerialWorker worker;
  std::atomic<int> after{0};
  worker.Post([] { throw std::runtime_error("first"); });
  worker.Post([] { throw std::logic_error("second"); });
  worker.Post([&after] { ++after; });
  try {
    worker.Finish();
    ADD_FAILURE() << "the failure was not handed back";
  } catch (const std::runtime_error& failure) {
    EXPECT_STREQ(failure.what(), "first");
  }
  EXPECT_EQ(after.load(), 1);
  worker.Finish();  // handed back once
  worker.Post([&after] { ++after; });
  worker.Finish();
  EXPECT_EQ(after.load(), 2);
}

TEST(SerialWorkerTest, AWorkerLeftWithJobsStopsWithoutRunningThem) {
  std::atomic<int> ran{0};
  {
    SerialWorker worker;
    for (int i = 0; i < 1000; ++i) worker.Post([&ran] { ++ran; });
  }
  EXPECT_LE(ran.load(), 1000);
}

}  // namespace
}  // namespace sdmate
