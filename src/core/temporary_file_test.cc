#include "core/temporary_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "testing/temp_dir.h"

namespace casewright {
namespace {

TEST(TemporaryFileTest, ASignalRemovesEveryTemporaryFileHoweverMany) {
  testing::TempDir dir;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // More files than one block of the list holds, as a large batch has.
    RemoveTemporaryFilesOnSignals();
    std::vector<std::unique_ptr<TemporaryFile>> files;
    for (int i = 0; i < 200; ++i) files.push_back(std::make_unique<TemporaryFile>(dir.root().string(), "t"));
    files.erase(files.begin() + 10, files.begin() + 20);  // freed slots are taken again
    for (int i = 0; i < 10; ++i) files.push_back(std::make_unique<TemporaryFile>(dir.root().string(), "t"));
    ::raise(SIGTERM);
    ::_exit(0);  // not reached
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_TRUE(std::filesystem::is_empty(dir.root()));
}

}  // namespace
}  // namespace casewright
