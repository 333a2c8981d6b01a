// casewright-cli under faults: a full disk, signals during a large run,
// standard output redirected, closed or full, and files it may not read or
// write.  Every failure must leave the previous files as they were and no
// temporary file behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "lexicon/table_builder.h"
#include "testing/run_command.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::ReadFile;
using testing::RunShell;
using testing::ShellQuoted;
using testing::TempDir;
using testing::WriteFile;

class CliFaultTest : public ::testing::Test {
 protected:
  CliFaultTest() {
    // Readable by the unprivileged user the permission tests run as.
    fs::permissions(dir_.root(), fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
    WriteFile(dir_.Path("lexicon.tsv"), "gatos\tgato\n");
    WriteFile(dir_.Path("stoplist.txt"), "o\n");
    WriteFile(dir_.Path("cues.txt"), "rato\n");
    BuildTables({dir_.Path("lexicon.tsv"), dir_.Path("stoplist.txt"), dir_.Path("cues.txt")}, dir_.Path("tables"));
    WriteInputs(3);
  }

  // A text of `sentences` sentences, with a class for each.
  void WriteInputs(int sentences) {
    std::string text;
    std::string classes;
    for (int i = 0; i < sentences; ++i) {
      text += "O gato n\xFAmero " + std::to_string(i) + " viu o rato.\r\n";
      classes += std::to_string(i % 11) + " ";
    }
    WriteFile(dir_.Path("text"), text);
    WriteFile(dir_.Path("classes"), classes);
  }

  // The arguments of a run on the test's inputs; `output` and `more` are
  // shell words.
  std::vector<std::string> Arguments() const {
    return {"--text", dir_.Path("text"), "--classes", dir_.Path("classes"), "--tables", dir_.Path("tables")};
  }
  std::string Cli(const std::string& output, const std::string& more = "") const {
    std::string command = CASEWRIGHT_CLI;
    for (const std::string& argument : Arguments()) command += " " + ShellQuoted(argument);
    return command + " --output " + output + " " + more;
  }

  // A run on the test's text with the classes file `classes`, a shell word.
  std::string CliWithClasses(const std::string& classes) const {
    return std::string(CASEWRIGHT_CLI) + " --text " + ShellQuoted(dir_.Path("text")) + " --classes " + classes +
           " --tables " + ShellQuoted(dir_.Path("tables")) + " --output " + ShellQuoted(dir_.Path("cases"));
  }

  // The hidden files in `folder`, as temporary files are.
  static std::vector<std::string> Leftovers(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.path().filename().string().starts_with(".")) names.push_back(entry.path().string());
    }
    return names;
  }

  TempDir dir_;
};

// Runs `script` with $DISK a fresh tmpfs of `size` (as mount takes it), in a
// mount namespace of its own so that the mount ends with it.  nullopt when
// mounting is not allowed.
std::optional<std::string> WithSmallDisk(const TempDir& dir, const std::string& size, const std::string& script) {
  if (::geteuid() != 0 || RunShell("unshare -m true").status != 0) return std::nullopt;
  fs::create_directory(dir.Path("disk"));
  const std::string inner = "DISK=" + ShellQuoted(dir.Path("disk")) +
                            "; mount -t tmpfs -o size=" + size + " tmpfs \"$DISK\" || exit 99; " + script;
  CommandResult result = RunShell("unshare -m sh -c " + ShellQuoted(inner));
  if (result.status == 99) return std::nullopt;
  return result.output;
}

TEST_F(CliFaultTest, AFullDiskChangesNoFile) {
  // Cases that fit on the disk, raw values that do not, yet fit in the
  // output buffer: their write fails only once the cases are complete.
  WriteInputs(500);
  std::optional<std::string> report =
      WithSmallDisk(dir_, "48k", "printf old > \"$DISK/cases\"; printf old > \"$DISK/raw\"; " +
                              Cli("\"$DISK/cases\"", "--raw \"$DISK/raw\"") +
                              "; echo status $?; cat \"$DISK/cases\" \"$DISK/raw\"; echo; ls -A \"$DISK\"");
  if (!report) {
    GTEST_LOG_(INFO) << "no small tmpfs can be mounted here; /dev/full stands in for a full disk";
    WriteFile(dir_.Path("cases"), "old");
    CommandResult full = RunShell(Cli(ShellQuoted(dir_.Path("cases")), "--raw /dev/full"));
    EXPECT_EQ(full.status, 1) << full.output;
    EXPECT_EQ(ReadFile(dir_.Path("cases")), "old");
    EXPECT_TRUE(Leftovers(dir_.Path("")).empty());
    return;
  }
  EXPECT_NE(report->find("I/O error 28"), std::string::npos) << *report;
  EXPECT_NE(report->find("status 1\noldold\ncases\nraw\n"), std::string::npos) << *report;
}

TEST_F(CliFaultTest, AFullDiskFailsATableBuildCleanly) {
  // A new lexicon, then a cue table too large for the disk.
  WriteFile(dir_.Path("other.tsv"), "casas\tcasa\n");
  std::string cues;
  for (int i = 0; i < 5000; ++i) cues += "palavra" + std::to_string(i) + "\n";
  WriteFile(dir_.Path("big.txt"), cues);
  const std::string build = std::string(CASEWRIGHT_CLI) + " tables build --stoplist " +
                            ShellQuoted(dir_.Path("stoplist.txt")) + " --into \"$DISK\"";
  std::optional<std::string> report =
      WithSmallDisk(dir_, "128k", build + " --lexicon " + ShellQuoted(dir_.Path("lexicon.tsv")) + " --cues " +
                              ShellQuoted(dir_.Path("cues.txt")) + " >/dev/null && cd \"$DISK\" && " +
                              "md5sum * > ../sums && " + build + " --lexicon " + ShellQuoted(dir_.Path("other.tsv")) +
                              " --cues " + ShellQuoted(dir_.Path("big.txt")) +
                              "; echo status $?; ls -A; md5sum -c --quiet ../sums && echo unchanged");
  if (!report) GTEST_SKIP() << "no small tmpfs can be mounted here";
  EXPECT_NE(report->find("status 1\nCuephrases.db\nL\xC3\xA9xico.db\nStoplist.db\nunchanged"), std::string::npos)
      << *report;
}

// Starts a large run whose raw values go to a FIFO that nobody reads, so the
// run stops in the middle of writing; sends `signal_number` once it does.
int InterruptedRunStatus(const std::vector<std::string>& arguments, const std::string& fifo, int signal_number) {
  ::mkfifo(fifo.c_str(), 0600);
  int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  std::vector<std::string> words = {CASEWRIGHT_CLI};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  // The run must meet the signals' default actions, whatever the test's are.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&defaults, s);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  pid_t pid = -1;
  EXPECT_EQ(::posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ), 0);
  posix_spawnattr_destroy(&attributes);
  pollfd ready = {reader, POLLIN, 0};
  EXPECT_EQ(::poll(&ready, 1, 60000), 1);  // the first raw values arrive
  ::kill(pid, signal_number);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ::close(reader);
  ::unlink(fifo.c_str());
  return status;
}

TEST_F(CliFaultTest, SignalsDuringALargeRunLeaveTheOldOutputAndNoTemporaryFile) {
  WriteInputs(50000);
  for (int signal_number : {SIGTERM, SIGINT, SIGHUP}) {
    WriteFile(dir_.Path("cases"), "old");
    std::vector<std::string> arguments = Arguments();
    arguments.insert(arguments.end(), {"--output", dir_.Path("cases"), "--raw", dir_.Path("raw")});
    int status = InterruptedRunStatus(arguments, dir_.Path("raw"), signal_number);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << signal_number << ": " << status;
    EXPECT_EQ(ReadFile(dir_.Path("cases")), "old");
    EXPECT_EQ(Leftovers(dir_.Path("")), std::vector<std::string>());
  }
}

TEST_F(CliFaultTest, StandardOutputIsWrittenInPlaceAndItsFailuresFail) {
  ASSERT_EQ(RunShell(Cli(ShellQuoted(dir_.Path("cases")))).status, 0);
  const std::string cases = ReadFile(dir_.Path("cases"));
  const std::string out = ShellQuoted(dir_.Path("out"));
  WriteFile(dir_.Path("out"), "kept\n");
  struct stat before;
  ::stat(dir_.Path("out").c_str(), &before);
  // Named by spelling, by this process's number, and by another process's
  // descriptor that leads to this one's output or to a file open elsewhere.
  const std::string commands[] = {
      Cli("/dev/stdout", ">> " + out),
      Cli("-", ">> " + out),
      "exec " + Cli("/proc/$$/fd/1", ">> " + out),
      "{ " + Cli("/proc/$$/fd/1") + "; } >> " + out + "; exit $?",
      "exec 3>> " + out + "; " + Cli("/proc/$$/fd/3") + "; exit $?",
  };
  std::string expected = "kept\n";
  for (const std::string& command : commands) {
    CommandResult result = RunShell(command);
    EXPECT_EQ(result.status, 0) << command << "\n" << result.output;
    expected += cases;
  }
  EXPECT_EQ(ReadFile(dir_.Path("out")), expected);  // appended; the summaries went elsewhere
  struct stat after;
  ::stat(dir_.Path("out").c_str(), &after);
  EXPECT_EQ(after.st_ino, before.st_ino);

  for (const char* broken : {">&-", "> /dev/full"}) {
    CommandResult failed = RunShell(Cli(ShellQuoted(dir_.Path("cases")), broken));
    EXPECT_EQ(failed.status, 1) << broken;
    EXPECT_NE(failed.output.find("standard output"), std::string::npos) << failed.output;
  }
}

TEST_F(CliFaultTest, FilesThatAreOneFileOrEndlessAreRefusedByName) {
  WriteFile(dir_.Path("extract"), "O gato viu o rato.");
  const std::string cli = std::string(CASEWRIGHT_CLI) + " ";
  const std::string tables = dir_.Path("tables") + "/";
  const std::string text = ShellQuoted(dir_.Path("text"));
  const std::string in_tables = " --tables " + ShellQuoted(dir_.Path("tables"));
  const std::string run = cli + "--text " + text + " --classes " + ShellQuoted(dir_.Path("classes")) + in_tables;
  const std::string cases = " --output " + ShellQuoted(dir_.Path("cases"));
  const std::string lexicon = ShellQuoted(dir_.Path("lexicon.tsv"));
  const std::string stoplist = ShellQuoted(dir_.Path("stoplist.txt"));
  const std::string cues = ShellQuoted(dir_.Path("cues.txt"));
  auto build = [&](const std::string& into, const std::string& l, const std::string& s, const std::string& c) {
    return cli + "tables build --into " + ShellQuoted(into) + " --lexicon " + l + " --stoplist " + s + " --cues " + c;
  };
  struct Case {
    std::string command;
    std::string message;
  };
  const Case refused[] = {
      {run + " --output " + ShellQuoted(tables + "Stoplist.db"),
       "Stoplist.db: The output file is the same file as the lexical table (" + tables + "Stoplist.db)"},
      {run + cases + " --raw " + ShellQuoted(tables + "Cuephrases.db"),
       "Cuephrases.db: The raw values file is the same file as the lexical table ("},
      {run + cases + " --names " + ShellQuoted(tables + "L\xC3\xA9xico.db"),
       "xico.db: The names file is the same file as the lexical table ("},
      {cli + "classes --text " + text + " --extract " + ShellQuoted(dir_.Path("extract")) + in_tables +
           " --output " + ShellQuoted(tables + "Stoplist.db"),
       "Stoplist.db: The classes file is the same file as the lexical table ("},
      {cli + "--text - --classes /dev/stdin" + in_tables + cases + " < " + text,
       "/dev/stdin: The classes file is the same file as the text file (-); nothing was written"},
      {cli + "sentences --text - --classes /proc/self/fd/0" + in_tables + " < " + text,
       "/proc/self/fd/0: The classes file is the same file as the text file (-)"},
      {cli + "--text " + text + " --classes " + text + in_tables + cases,
       "The classes file is the same file as the text file (" + dir_.Path("text") + ")"},
      {run + " --output " + ShellQuoted(dir_.Path("nodir/x")), "Folder not found: " + dir_.Path("nodir")},
      {cli + "--text /dev/zero --classes /dev/null" + in_tables + cases,
       "/dev/zero: Text exceeds memo capacity (the file goes on past 2 GiB)"},
      {build(dir_.Path("new"), "/dev/zero", stoplist, cues),
       "/dev/zero: The file goes on past 256 MiB; reading stopped there"},
      {build(dir_.Path("new"), lexicon, "/dev/zero", cues), "/dev/zero: The file goes on past 256 MiB"},
      {build(dir_.Path("new"), lexicon, stoplist, "/dev/zero"), "/dev/zero: The file goes on past 256 MiB"},
      {build(dir_.Path("tables"), lexicon, ShellQuoted(tables + "Stoplist.db"), cues),
       "Stoplist.db: The source file is the table Stoplist.db that the build writes"},
  };
  const std::string table = ReadFile(tables + "Stoplist.db");
  for (const Case& c : refused) {
    CommandResult result = RunShell(c.command);
    EXPECT_EQ(result.status, 1) << c.command << "\n" << result.output;
    EXPECT_NE(result.output.find(c.message), std::string::npos) << c.command << "\n" << result.output;
  }
  EXPECT_EQ(ReadFile(tables + "Stoplist.db"), table);
  EXPECT_TRUE(Leftovers(dir_.Path("tables")).empty());
  EXPECT_FALSE(fs::exists(dir_.Path("cases")));
  EXPECT_FALSE(fs::exists(dir_.Path("new")));
}

TEST_F(CliFaultTest, ClassesPastTheLastSentenceAreOnlyLookedAt) {
  // An endless classes file, then one whose writer stays silent: the run
  // counts what its look-ahead sees and ends at once.
  const std::string fifo = ShellQuoted(dir_.Path("fifo"));
  const std::string commands[] = {
      "yes 1 | tr '\\n' ' ' | timeout 20 " + CliWithClasses("-"),
      "mkfifo " + fifo + "; (printf '0 1 2 3 4 '; exec sleep 60) > " + fifo + " 2>/dev/null & writer=$!; " +
          "timeout 20 " + CliWithClasses(fifo) + "; status=$?; kill $writer; exit $status",
  };
  // How much of the endless pipe has arrived when the run looks depends on
  // the machine's load.
  const std::string warnings[] = {
      "more classes than the text has sentences: at least ",
      "more classes than the text has sentences: at least 2 classes were left unread.",
  };
  for (std::size_t i = 0; i < std::size(commands); ++i) {
    CommandResult result = RunShell(commands[i]);
    EXPECT_EQ(result.status, 0) << commands[i] << "\n" << result.output;
    EXPECT_NE(result.output.find(warnings[i]), std::string::npos) << result.output;
  }
}

// The words that run a command as the user nobody when the tests run as
// root (empty otherwise); nullopt when no tool can switch to it.
std::optional<std::string> AsUnprivilegedUser() {
  if (::geteuid() != 0) return "";
  if (RunShell("setpriv --reuid=65534 --regid=65534 --clear-groups true").status == 0) {
    return "setpriv --reuid=65534 --regid=65534 --clear-groups ";
  }
  if (RunShell("runuser -u nobody -- true").status == 0) return "runuser -u nobody -- ";
  return std::nullopt;
}

TEST_F(CliFaultTest, PermissionFaultsAsAnUnprivilegedUser) {
  const std::optional<std::string> user = AsUnprivilegedUser();
  if (!user) GTEST_SKIP() << "neither setpriv nor runuser can switch to the user nobody";
  const std::string& as_user = *user;
  fs::create_directory(dir_.Path("locked"));
  fs::permissions(dir_.Path("locked"), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  fs::create_directory(dir_.Path("open"));
  fs::permissions(dir_.Path("open"), fs::perms::all);
  WriteFile(dir_.Path("open/read-only"), "kept");
  fs::permissions(dir_.Path("open/read-only"), fs::perms::owner_read | fs::perms::others_read);

  struct Case {
    std::string unreadable;  // an input only its owner may read, or empty
    std::string output;
    std::string message;
  };
  const Case cases[] = {
      {"", dir_.Path("locked/cases"), dir_.Path("locked/cases") + ": File access denied"},
      {"", dir_.Path("open/read-only"), dir_.Path("open/read-only") + ": File access denied"},
      {dir_.Path("classes"), dir_.Path("open/cases"), dir_.Path("classes") + ": File access denied"},
      {dir_.Path("text"), dir_.Path("open/cases"),
       dir_.Path("text") + ": Cannot open file " + dir_.Path("text") + " (File access denied)"},
  };
  for (const Case& c : cases) {
    if (!c.unreadable.empty()) fs::permissions(c.unreadable, fs::perms::others_read, fs::perm_options::remove);
    CommandResult result = RunShell(as_user + Cli(ShellQuoted(c.output)));
    if (!c.unreadable.empty()) fs::permissions(c.unreadable, fs::perms::others_read, fs::perm_options::add);
    EXPECT_EQ(result.status, 1) << result.output;
    EXPECT_NE(result.output.find(c.message), std::string::npos) << result.output;
  }
  EXPECT_EQ(ReadFile(dir_.Path("open/read-only")), "kept");
  EXPECT_FALSE(fs::exists(dir_.Path("locked/cases")));
  EXPECT_FALSE(fs::exists(dir_.Path("open/cases")));
  EXPECT_TRUE(Leftovers(dir_.Path("open")).empty());
}

// A batch whose files would overwrite what it depends on, or that a
// summary line would spoil, is refused or kept apart before anything is
// written.
TEST_F(CliFaultTest, BatchFaults) {
  const std::string m = dir_.Path("m.tsv");
  const std::string line = "text\tclasses\t";
  fs::create_symlink("tgt", dir_.Path("dl"));  // dangling until written through
  struct Case {
    std::string manifest;
    std::string options;  // shell words
    int status;
    std::string message;  // in the output
  };
  const Case cases[] = {
      {line + "keep\n" + line + std::string("keep\0x\n", 7), "", 1,
       m + ":2: The output field holds a control character (0x00)"},
      {line + "m.tsv\n", "", 1, m + ":1: The output file is the manifest"},
      {line + "out\n", "--combined " + m, 1, m + ": The combined file is the manifest; nothing was run"},
      {line + "out\n", "--names " + m, 1, m + ": The names file is the manifest; nothing was run"},
      {line + "dl\n" + line + "tgt\n", "", 1, m + ":2: The output file is also the output file of line 1"},
      {line + "dl\n", "--combined tgt", 1, "tgt: The combined file is a file of manifest line 1; nothing was run"},
      {line + "out\r" + line + "out2\r", "", 1, m + ":1: The manifest uses CR line ends"},
      {line + "out\n", "--combined " + dir_.Path("none/all"), 1, dir_.Path("none/all") + ": "},
      {line + "out\n", "--jobs 0", 2, "--jobs must be a whole number from 1 to 1024"},
      {line + "out\n", "--jobs -1", 2, "--jobs must be a whole number from 1 to 1024"},
      {line + "out\n", "--jobs abc", 2, "--jobs must be a whole number from 1 to 1024"},
      {line + "out\n", "--jobs 1025", 2, "--jobs must be a whole number from 1 to 1024"},
      // Good batches: a line of blanks is a blank line; a line without an
      // output goes to the combined file; a line writing standard output
      // keeps it for its cases (the summary goes to stderr, here dropped).
      {"   \n" + line + "out\n", "--jobs 1024", 0, "Batch: 1 succeeded"},
      {line + "\n", "--combined all", 0, "Wrote every case to all"},
      {line + "/dev/stdout\n", "--features 1 2>/dev/null", 0, RunShell(Cli("-", "--features 1 2>/dev/null")).output},
  };
  for (const Case& c : cases) {
    WriteFile(m, c.manifest);
    WriteFile(dir_.Path("keep"), "kept");
    CommandResult result = RunShell("cd " + ShellQuoted(dir_.root()) + " && " + CASEWRIGHT_CLI + " batch " +
                                    ShellQuoted(m) + " --tables " + ShellQuoted(dir_.Path("tables")) + " " +
                                    c.options);
    EXPECT_EQ(result.status, c.status) << c.options << "\n" << result.output;
    if (c.manifest.ends_with("/dev/stdout\n")) {
      EXPECT_EQ(result.output, c.message);
    } else {
      EXPECT_NE(result.output.find(c.message), std::string::npos) << c.options << "\n" << result.output;
    }
    EXPECT_EQ(ReadFile(m), c.manifest);
    EXPECT_EQ(ReadFile(dir_.Path("keep")), "kept");
    EXPECT_FALSE(fs::exists(dir_.Path("tgt")));
    if (c.status != 0) {
      EXPECT_FALSE(fs::exists(dir_.Path("out"))) << c.options;
    }
    fs::remove(dir_.Path("out"));
  }
  EXPECT_TRUE(Leftovers(dir_.root()).empty());
  CommandResult endless = RunShell(std::string(CASEWRIGHT_CLI) + " batch /dev/zero");
  EXPECT_EQ(endless.status, 1);
  EXPECT_EQ(endless.output, "casewright-cli: /dev/zero: The manifest is larger than 64 MiB\n");
}

// With no room for another process, the batch runs on its own thread and
// says so.  Root's process limit is not enforced, so it runs as nobody.
TEST_F(CliFaultTest, ABatchRunsOnTheThreadsTheSystemGrants) {
  const std::optional<std::string> user = AsUnprivilegedUser();
  if (!user) GTEST_SKIP() << "neither setpriv nor runuser can switch to the user nobody";
  // A build inside a home folder that only its owner may enter.
  if (RunShell(*user + "test -x " + ShellQuoted(CASEWRIGHT_CLI)).status != 0) {
    GTEST_SKIP() << "the user nobody cannot run " << CASEWRIGHT_CLI << " where the build is";
  }
  fs::create_directory(dir_.Path("open"));
  fs::permissions(dir_.Path("open"), fs::perms::all);
  WriteFile(dir_.Path("open/m.tsv"), "../text\t../classes\ta\n../text\t../classes\tb\n");
  const std::string batch = std::string(CASEWRIGHT_CLI) + " batch " + ShellQuoted(dir_.Path("open/m.tsv")) +
                            " --tables " + ShellQuoted(dir_.Path("tables")) + " --jobs 2 --combined " +
                            ShellQuoted(dir_.Path("open/all"));
  // LeakSanitizer, in a sanitized build, needs a thread of its own at exit,
  // which the limit refuses as well.
  CommandResult result =
      RunShell(*user + "bash -c " + ShellQuoted("ulimit -u 1 && ASAN_OPTIONS=detect_leaks=0 exec " + batch));
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("casewright-cli: the system would not start 2 worker threads; the batch ran on the "
                               "main thread alone"),
            std::string::npos)
      << result.output;
  EXPECT_NE(result.output.find("Batch: 2 succeeded, 0 failed, of 2 texts; 6 cases"), std::string::npos);
  EXPECT_EQ(ReadFile(dir_.Path("open/all")), ReadFile(dir_.Path("open/a")) + ReadFile(dir_.Path("open/b")));
}

}  // namespace
}  // namespace casewright
