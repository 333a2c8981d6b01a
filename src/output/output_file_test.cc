#include "output/output_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/run_error.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::size_t FilesIn(const TempDir& dir) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir.root()), fs::directory_iterator()));
}

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const RunError& e) {
    return e.what();
  }
  return "no failure";
}

TEST(OutputFileTest, ReplacesWholeOnCommitOnly) {
  TempDir dir;
  const std::string path = dir.Path("cases");
  WriteFile(path, "old");
  {
    OutputFile out(path);
    out.Write("new ");
    out.Write(std::string(100000, 'x'));  // more than one buffer
    EXPECT_EQ(ReadFile(path), "old");
    out.Commit();
  }
  EXPECT_EQ(ReadFile(path), "new " + std::string(100000, 'x'));
  EXPECT_EQ(FilesIn(dir), 1u);
}

TEST(OutputFileTest, AbandonedFileLeavesNothingBehind) {
  TempDir dir;
  WriteFile(dir.Path("cases"), "old");
  {
    OutputFile out(dir.Path("cases"));
    out.Write("partial");
  }
  EXPECT_EQ(ReadFile(dir.Path("cases")), "old");
  { OutputFile out(dir.Path("new-cases")); }
  EXPECT_FALSE(fs::exists(dir.Path("new-cases")));
  EXPECT_EQ(FilesIn(dir), 1u);
}

TEST(OutputFileTest, KeepsPermissionsAndFollowsLinks) {
  TempDir dir;
  const std::string real = dir.Path("real");
  WriteFile(real, "old");
  ::chmod(real.c_str(), 0640);
  fs::create_symlink("real", dir.Path("link"));
  OutputFile out(dir.Path("link"));
  out.Write("new");
  out.Commit();
  EXPECT_TRUE(fs::is_symlink(dir.Path("link")));
  EXPECT_EQ(ReadFile(real), "new");
  struct stat st;
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(OutputFileTest, DevicesAreWrittenDirectly) {
  OutputFile out("/dev/null");
  out.Write("anything");
  out.Commit();
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST(OutputFileTest, FailuresCarryTheFileMessages) {
  TempDir dir;
  EXPECT_EQ(MessageOf([&] { OutputFile out(dir.Path("no/such/folder/cases")); }), "Invalid filename");
  EXPECT_EQ(MessageOf([&] { OutputFile out(dir.Path("")); }), "File access denied");  // a folder
  if (fs::exists("/dev/full")) {
    EXPECT_EQ(MessageOf([&] {
                OutputFile out("/dev/full");
                out.Write("x");
                out.Commit();
              }),
              "I/O error 28");
  }
  if (::geteuid() != 0) {  // root writes anywhere
    fs::create_directory(dir.Path("locked"));
    fs::permissions(dir.Path("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(MessageOf([&] { OutputFile out(dir.Path("locked/cases")); }), "File access denied");
  }
}

}  // namespace
}  // namespace casewright
