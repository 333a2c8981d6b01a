#include "core/run_error.h"

#include <gtest/gtest.h>

#include <new>

namespace casewright {
namespace {

TEST(DescribeErrorTest, PathThenMessageForRunErrorsTheTextForOthers) {
  EXPECT_EQ(DescribeError(RunError("File not found", "dir/c.txt")), "dir/c.txt: File not found");
  EXPECT_EQ(DescribeError(RunError("No text file named")), "No text file named");
  EXPECT_EQ(DescribeError(std::bad_alloc()), std::bad_alloc().what());
}

}  // namespace
}  // namespace casewright
