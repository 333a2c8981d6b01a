#include "output/output_file.h"

#include <fcntl.h>
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

TEST(OutputFileTest, KeepsOwnerAndGroupWherePermitted) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
  TempDir dir;
  const std::string path = dir.Path("theirs");
  WriteFile(path, "old");
  ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
  ::chmod(path.c_str(), 02640);  // set-group-ID survives the change of owner
  OutputFile out(path);
  out.Write("new");
  out.Commit();
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_gid, 65534u);
  EXPECT_EQ(st.st_mode & 07777, 02640u);
  EXPECT_EQ(ReadFile(path), "new");
}

TEST(OutputFileTest, DevicesAreWrittenDirectly) {
  OutputFile out("/dev/null");
  out.Write("anything");
  out.Commit();
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST(OutputFileTest, FailuresCarryTheFileMessages) {
  TempDir dir;
  EXPECT_EQ(MessageOf([&] { OutputFile out(dir.Path("no/such/folder/cases")); }), "Folder not found: " + dir.Path("no"));
  WriteFile(dir.Path("file"), "");
  EXPECT_EQ(MessageOf([&] { OutputFile out(dir.Path("file/cases")); }), "Invalid filename");
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

// Names of the files in `dir` whose name starts with a dot.
std::vector<std::string> HiddenFilesIn(const TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.root())) {
    if (entry.path().filename().string().starts_with(".")) names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST(OutputFileTest, TemporaryNamesAreShortAndRecognisable) {
  TempDir dir;
  const std::string longest = dir.Path(std::string(255, 'n'));  // the longest valid name
  OutputFile out(longest);
  std::vector<std::string> hidden = HiddenFilesIn(dir);
  ASSERT_EQ(hidden.size(), 1u);
  EXPECT_TRUE(hidden[0].starts_with(".casewright-")) << hidden[0];
  EXPECT_EQ(hidden[0].size(), 18u);
  out.Write("x");
  out.Commit();
  EXPECT_EQ(ReadFile(longest), "x");
  EXPECT_TRUE(HiddenFilesIn(dir).empty());
}

TEST(OutputFileTest, DanglingLinkCreatesItsTargetAndALoopFails) {
  TempDir dir;
  fs::create_symlink("target", dir.Path("link"));
  OutputFile out(dir.Path("link"));
  out.Write("new");
  out.Commit();
  EXPECT_TRUE(fs::is_symlink(dir.Path("link")));
  EXPECT_EQ(ReadFile(dir.Path("target")), "new");

  fs::create_symlink("loop-b", dir.Path("loop-a"));
  fs::create_symlink("loop-a", dir.Path("loop-b"));
  EXPECT_EQ(MessageOf([&] { OutputFile loop(dir.Path("loop-a")); }), "Symbolic link loop");
  EXPECT_TRUE(fs::is_symlink(dir.Path("loop-a")));
}

TEST(OutputFileTest, OpenDescriptorsAreWrittenInPlace) {
  TempDir dir;
  const std::string path = dir.Path("appended");
  WriteFile(path, "kept ");
  struct stat before;
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
  ASSERT_GE(fd, 0);
  fs::create_symlink("/dev/fd/" + std::to_string(fd), dir.Path("to-fd"));
  const std::string number = std::to_string(fd);
  for (const std::string& name : {"/dev/fd/" + number, "/proc/self/fd/" + number, dir.Path("to-fd"),
                                  "/proc/" + std::to_string(::getpid()) + "/fd/" + number,
                                  "/proc/thread-self/fd/" + number}) {
    OutputFile out(name);
    out.Write("+");
    out.Commit();
  }
  ::close(fd);
  EXPECT_EQ(ReadFile(path), "kept +++++");
  struct stat after;
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(MessageOf([] { OutputFile out("/dev/fd/999"); }), "I/O error 9");  // not open
}

}  // namespace
}  // namespace casewright
