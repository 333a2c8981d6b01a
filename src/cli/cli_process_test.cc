// Runs casewright-cli as a process, as a batch script would.
#include <gtest/gtest.h>

#include <string>

#include "testing/run_command.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

using Result = testing::CommandResult;

Result RunCli(const std::string& arguments) { return testing::RunShell(std::string(CASEWRIGHT_CLI) + " " + arguments); }

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

}  // namespace
}  // namespace casewright
