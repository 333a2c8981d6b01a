// Runs casewright-cli as a process, as a batch script would.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "testing/run_command.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

using Result = testing::CommandResult;

// Runs `program` (casewright-cli unless named) with `arguments`.
Result RunCli(const std::string& arguments, const std::string& program = CASEWRIGHT_CLI) {
  return testing::RunShell(program + " " + arguments);
}

class CliTest : public ::testing::Test {
 protected:
  CliTest() {
    WriteFile(dir_.Path("lexicon.tsv"), "casas\tcasa\n");
    WriteFile(dir_.Path("stoplist.txt"), "e\n");
    WriteFile(dir_.Path("cues.txt"), "resumo\n");
    Result built = RunCli("tables build --lexicon " + dir_.Path("lexicon.tsv") + " --stoplist " +
                          dir_.Path("stoplist.txt") + " --cues " + dir_.Path("cues.txt") + " --into " +
                          dir_.Path("tables"));
    EXPECT_EQ(built.status, 0) << built.output;
  }

  // Runs on `text` and `classes`, returning the cases written.
  std::string Cases(const std::string& text, const std::string& classes, const std::string& options) {
    WriteFile(dir_.Path("text"), text);
    WriteFile(dir_.Path("classes"), classes);
    Result result = RunCli(Arguments(options));
    EXPECT_EQ(result.status, 0) << result.output;
    return ReadFile(dir_.Path("cases"));
  }

  std::string Arguments(const std::string& options, const std::string& tables = "") {
    return "--text " + dir_.Path("text") + " --classes " + dir_.Path("classes") + " --output " +
           dir_.Path("cases") + " --tables " + (tables.empty() ? dir_.Path("tables") : tables) + " " + options;
  }

  TempDir dir_;
};

TEST_F(CliTest, SentenceSizeCasesOfReferenceTexts) {
  EXPECT_EQ(Cases("Sr. Silva chegou.", "1 0", "--features 1"), "2 1\r\n4 0\r\n");
  EXPECT_EQ(Cases("Oi!! Tchau.", "1 0 1", "--features 1"), "4 1\r\n1 0\r\n4 1\r\n");
  EXPECT_EQ(Cases("Fim... Depois.", "1 0 0 1", "--features 1 --quinlan"), "4, 1.\r\n1, 0.\r\n1, 0.\r\n4, 1.\r\n");
  EXPECT_EQ(Cases("Bom dia", "1", "--features 1"), "");
  EXPECT_EQ(Cases("Um. Dois tr\xEAs.", "1 0", "--features none"), "1\r\n0\r\n");
  EXPECT_EQ(Cases("Um. Dois tr\xEAs.", "1 0", "--features none --quinlan"), "1.\r\n0.\r\n");
}

TEST_F(CliTest, SuccessPrintsWhereTheCasesWentAndWarnings) {
  WriteFile(dir_.Path("text"), "Um. Dois.");
  WriteFile(dir_.Path("classes"), "1");
  Result result = RunCli(Arguments("--features 1"));
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.output.find("Wrote 2 cases to " + dir_.Path("cases")), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("warning: "), std::string::npos) << result.output;
}

TEST_F(CliTest, FailuresAndUsageErrors) {
  WriteFile(dir_.Path("classes"), "1");
  Result missing = RunCli(Arguments(""));  // no text file written yet
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.output.find("Cannot open file " + dir_.Path("text")), std::string::npos) << missing.output;

  WriteFile(dir_.Path("text"), "Um.");
  Result bad_tables = RunCli(Arguments("", dir_.Path("nowhere")));
  EXPECT_EQ(bad_tables.status, 1);
  EXPECT_NE(bad_tables.output.find("Orbelin"), std::string::npos) << bad_tables.output;

  EXPECT_EQ(RunCli(Arguments("--features 9")).status, 2);
  EXPECT_EQ(RunCli("--text x").status, 2);
  EXPECT_EQ(RunCli("--bogus").status, 2);
  Result help = RunCli("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("Example"), std::string::npos);
  EXPECT_NE(help.output.find("--quinlan"), std::string::npos);
}

TEST_F(CliTest, StandardInputVersionAndOptions) {
  WriteFile(dir_.Path("text"), "Um. Dois tr\xEAs.");
  WriteFile(dir_.Path("classes"), "1 0");
  auto with = [&](const std::string& text, const std::string& classes) {
    return "--text " + text + " --classes " + classes + " --output " + dir_.Path("cases") + " --tables " +
           dir_.Path("tables") + " --features 1";
  };
  Result piped = RunCli(with("-", dir_.Path("classes")) + " < " + dir_.Path("text"));
  EXPECT_EQ(piped.status, 0) << piped.output;
  EXPECT_EQ(ReadFile(dir_.Path("cases")), "2 1\r\n4 0\r\n");
  EXPECT_EQ(RunCli(with(dir_.Path("text"), "-") + " < " + dir_.Path("classes")).status, 0);
  EXPECT_EQ(ReadFile(dir_.Path("cases")), "2 1\r\n4 0\r\n");
  Result both = RunCli(with("-", "-") + " < " + dir_.Path("classes"));
  EXPECT_EQ(both.status, 1);
  EXPECT_NE(both.output.find("cannot both be standard input"), std::string::npos) << both.output;

  EXPECT_EQ(RunCli("--version").output, "casewright-cli " CASEWRIGHT_VERSION "\n");
  EXPECT_EQ(RunCli(Arguments("--quinlan --format csv")).status, 2);
  EXPECT_EQ(RunCli(Arguments("--format xml")).status, 2);
  EXPECT_EQ(RunCli(Arguments("--encoding latin1")).status, 2);
}

TEST_F(CliTest, Utf8TextGivesTheWindows1252Cases) {
  const std::string cp1252 = Cases("Ol\xE1 cora\xE7\xE3o. Tr\xEAs \x80 dois.", "1 0", "--features 1-8");
  EXPECT_EQ(Cases("Ol\xC3\xA1 cora\xC3\xA7\xC3\xA3o. Tr\xC3\xAAs \xE2\x82\xAC dois.", "1 0",
                  "--features 1-8 --encoding utf-8"),
            cp1252);
  Result warned = RunCli(Arguments(""));  // the UTF-8 text read as Windows-1252
  EXPECT_NE(warned.output.find("warning: The text looks like UTF-8"), std::string::npos) << warned.output;
  WriteFile(dir_.Path("text"), "Ol\xE1.");
  Result invalid = RunCli(Arguments("--encoding utf-8"));
  EXPECT_EQ(invalid.status, 1);
  EXPECT_NE(invalid.output.find(dir_.Path("text") + ": Invalid UTF-8 at byte offset 2"), std::string::npos)
      << invalid.output;
}

TEST_F(CliTest, BatchReportsFailedLinesAndExitsOne) {
  WriteFile(dir_.Path("a.txt"), "Um. Dois tr\xEAs.");
  WriteFile(dir_.Path("a.classes"), "1 0");
  WriteFile(dir_.Path("m.tsv"), "# corpus\na.txt\ta.classes\ta.cases\nnone.txt\ta.classes\tb.cases\n"
                                "a.txt\ta.classes\tc.cases\n");
  const std::string batch = "batch " + dir_.Path("m.tsv") + " --tables " + dir_.Path("tables") + " --features 1";
  Result result = RunCli(batch + " --jobs 2 --combined " + dir_.Path("all"));
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find(dir_.Path("m.tsv") + ":3: " + dir_.Path("none.txt") + ": Cannot open file"),
            std::string::npos)
      << result.output;
  EXPECT_NE(result.output.find("Batch: 2 succeeded, 1 failed, of 3 texts; 4 cases"), std::string::npos);
  EXPECT_EQ(ReadFile(dir_.Path("c.cases")), "2 1\r\n4 0\r\n");
  EXPECT_EQ(result.output.find('\r'), std::string::npos);  // no progress line off a terminal

  // On a terminal the progress line is drawn, then cleared.
  WriteFile(dir_.Path("m.tsv"), "a.txt\ta.classes\ta.cases\n");
  Result terminal = RunCli("-qec '" + std::string(CASEWRIGHT_CLI) + " " + batch + "' /dev/null", "script");
  EXPECT_EQ(terminal.status, 0) << terminal.output;
  EXPECT_NE(terminal.output.find("\r1/1 texts, 2 sentences, "), std::string::npos) << terminal.output;

  EXPECT_EQ(RunCli(batch + " --shard 0/2 --combined -").status, 2);  // no room for the shard's index

  // A malformed line stops the batch before anything runs.
  std::filesystem::remove(dir_.Path("a.cases"));
  WriteFile(dir_.Path("m.tsv"), "a.txt\ta.classes\ta.cases\nb.txt\tb.classes\n");
  Result malformed = RunCli(batch);
  EXPECT_EQ(malformed.status, 1);
  EXPECT_NE(malformed.output.find(dir_.Path("m.tsv") + ":2: The line has 2 fields"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("a.cases")));
}

}  // namespace
}  // namespace casewright
