// Every command refuses, before it reads, trains or writes anything, to
// write a file it also reads or to write one file twice; and every file
// option of every command is listed here, so that a command or option added
// later without its refusal fails the coverage check.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "testing/run_command.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::RunShell;
using testing::TempDir;
using testing::WriteFile;

// The file options of each command ("" is the plain run): those it writes
// and those it only reads.
struct FileOptions {
  std::set<std::string> written;
  std::set<std::string> read;
};
const std::map<std::string, FileOptions> kFileOptions = {
    {"", {{"--output", "--names", "--raw"}, {"--text", "--classes", "--tables"}}},
    {"sentences", {{}, {"--text", "--classes", "--tables"}}},
    {"classes", {{"--output"}, {"--text", "--extract", "--tables"}}},
    {"batch", {{"--names", "--combined"}, {"--tables"}}},
    {"join", {{"--combined", "--names"}, {}}},
    {"summarize", {{"--output", "--classes-output", "--scores-output"}, {"--text", "--scores", "--model", "--tables"}}},
    {"evaluate", {{"--output", "--compare", "--export", "--plot"}, {"--tables"}}},
    {"tables", {{}, {}}},
    {"train", {{"--model"}, {"--tables"}}},
    {"crossval",
     {{"--output", "--compare", "--folds-output", "--scores-output", "--ablation", "--plot"},
      {"--tables", "--folds-from"}}},
};

// The options of `command`'s help that take a file or a folder.
std::set<std::string> FileOptionsInHelp(const std::string& command) {
  const std::string help = RunShell(std::string(CASEWRIGHT_CLI) + " " + command + " --help").output;
  std::set<std::string> options;
  const std::regex option(R"((--[a-z-]+) (FILE|DIR)\b)");
  for (auto it = std::sregex_iterator(help.begin(), help.end(), option); it != std::sregex_iterator(); ++it) {
    options.insert((*it)[1]);
  }
  return options;
}

std::set<std::string> SubcommandsInHelp() {
  const std::string help = RunShell(std::string(CASEWRIGHT_CLI) + " --help").output;
  std::set<std::string> names = {""};
  const std::regex line(R"(\n  ([a-z]+) {2,})");
  for (auto it = std::sregex_iterator(help.begin(), help.end(), line); it != std::sregex_iterator(); ++it) {
    names.insert((*it)[1]);
  }
  return names;
}

TEST(FileGuardTest, EveryCommandAndFileOptionIsListed) {
  std::set<std::string> listed;
  for (const auto& [command, options] : kFileOptions) listed.insert(command);
  EXPECT_EQ(SubcommandsInHelp(), listed) << "a command was added: list its files here and test their refusals";
  for (const auto& [command, options] : kFileOptions) {
    std::set<std::string> known = options.written;
    known.insert(options.read.begin(), options.read.end());
    EXPECT_EQ(FileOptionsInHelp(command), known) << "the file options of '" << command << "'";
  }
}

class FileGuardCommandTest : public ::testing::Test {
 protected:
  FileGuardCommandTest() {
    WriteFile(dir_.Path("lexicon.tsv"), "casas\tcasa\n");
    WriteFile(dir_.Path("stoplist.txt"), "e\n");
    WriteFile(dir_.Path("cues.txt"), "resumo\n");
    Cli("tables build --lexicon lexicon.tsv --stoplist stoplist.txt --cues cues.txt --into tables");
    std::string manifest;
    for (const std::string name : {"a", "b", "c"}) {
      WriteFile(dir_.Path(name), "Um dia. Dois dias!\r\nTres casas. Quatro? Cinco sete.");
      WriteFile(dir_.Path(name + ".classes"), name == "b" ? "0 0 1 1 0" : "1 1 0 0 0");
      manifest += name + "\t" + name + ".classes\t\n";
    }
    WriteFile(dir_.Path("m.tsv"), manifest);
    WriteFile(dir_.Path("scores"), "0.1\n0.9\n0.2\n0.8\n0.3\n");
    Cli("train m.tsv --model model.json --tables tables");
  }

  testing::CommandResult Cli(const std::string& arguments, int status = 0) {
    testing::CommandResult result =
        RunShell("cd " + testing::ShellQuoted(dir_.Path("")) + " && " + CASEWRIGHT_CLI + " " + arguments);
    EXPECT_EQ(result.status, status) << arguments << "\n" << result.output;
    return result;
  }

  // Every file of the folder with its bytes.
  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir_.Path(""))) {
      if (entry.is_regular_file()) files[entry.path().string()] = ReadFile(entry.path().string());
    }
    return files;
  }

  TempDir dir_;
};

TEST_F(FileGuardCommandTest, AnOutputThatIsAnInputOrAnotherOutputIsRefusedAndNothingChanges) {
  fs::create_hard_link(dir_.Path("a"), dir_.Path("a-again"));
  WriteFile(dir_.Path("twice.tsv"), "a\ta.classes\t\nb\tb.classes\t\na-again\tc.classes\t\n");
  const std::string summarize = "summarize --text a --model model.json --rate 0.4 --tables tables ";
  const std::pair<std::string, std::string> refused[] = {
      {"--text a --classes a.classes --output ./a --tables tables",
       "./a: The output file is the same file as the text file (a)"},
      {summarize + "--scores-output a --output x", "a: The scores output is the same file as the text file (a)"},
      {summarize + "--output model.json", "model.json: The extract is the same file as the model (model.json)"},
      {summarize + "--output tables/Stoplist.db", "The extract is the same file as the lexical table"},
      {summarize + "--output x --classes-output y --scores-output y",
       "y: The scores output is the same file as the classes file (y)"},
      {summarize + "--scores-output -", "-: The scores output is the same file as the extract (-)"},
      {"summarize --text /dev/stdin --scores - --rate 0.4 --tables tables < a",
       "-: The scores file is the same file as the text file (/dev/stdin)"},
      {"train m.tsv --model m.tsv --tables tables", "m.tsv: The model is the same file as the manifest (m.tsv)"},
      {"train m.tsv --model tables/Stoplist.db --tables tables", "The model is the same file as the lexical table"},
      {"train m.tsv --model ./b.classes --tables tables",
       "./b.classes: The model is the same file as the classes file of line 2 (b.classes)"},
      {"crossval m.tsv --folds 3 --rate 0.4 --output ./c --tables tables",
       "./c: The output file is the same file as the text of line 3 (c)"},
      {"crossval m.tsv --folds 3 --rate 0.4 --scores-output m.tsv --tables tables",
       "m.tsv: The scores output is the same file as the manifest (m.tsv)"},
      {"crossval m.tsv --rate 0.4 --folds-from scores --folds-output ./scores --tables tables",
       "./scores: The folds output is the same file as the folds file (scores)"},
      {"crossval m.tsv --folds 3 --rate 0.4 --ablation - --tables tables",
       "-: The ablation table is the same file as the output file (-)"},
      {"crossval m.tsv --folds 3 --rate 0.4 --compare b.classes --tables tables",
       "b.classes: The comparisons file is the same file as the classes file of line 2 (b.classes)"},
      {"crossval m.tsv --folds 3 --rate 0.4 --compare - --tables tables",
       "-: The comparisons file is the same file as the output file (-)"},
      {"crossval m.tsv --folds 3 --rate 0.4 --plot m.tsv --tables tables",
       "m.tsv: The chart is the same file as the manifest (m.tsv)"},
      {"train twice.tsv --model x --tables tables",
       "twice.tsv:3: The text is the same file as the text of line 1 (a); a text may stand in the manifest once"},
      {"crossval twice.tsv --folds 2 --rate 0.4 --tables tables",
       "twice.tsv:3: The text is the same file as the text of line 1 (a)"},
  };
  const std::map<std::string, std::string> before = Files();
  for (const auto& [arguments, message] : refused) {
    const testing::CommandResult result = Cli(arguments, 1);
    EXPECT_NE(result.output.find(message), std::string::npos) << arguments << "\n" << result.output;
    EXPECT_EQ(Files(), before) << arguments;
  }
}

// The text is read once, also from standard input, and the scores leave
// standard output to themselves when they are written there.
TEST_F(FileGuardCommandTest, SummarizeReadsStandardInputOnceAndKeepsItsScoresClean) {
  const testing::CommandResult piped =
      Cli("summarize --text - --model model.json --rate 0.4 --tables tables --output /dev/null --scores-output - "
          "< a 2>/dev/null");
  EXPECT_EQ(std::count(piped.output.begin(), piped.output.end(), '\n'), 5) << piped.output;
  EXPECT_EQ(piped.output.find("Wrote"), std::string::npos) << piped.output;
}

TEST_F(FileGuardCommandTest, TrainAndCrossvalSayTheTextsWarningsAndRefuseWhatCannotBeTrainedOn) {
  WriteFile(dir_.Path("short.classes"), "1 0");
  WriteFile(dir_.Path("short.tsv"), "a\tshort.classes\t\nb\tb.classes\t\n");
  const testing::CommandResult trained = Cli("train short.tsv --model x --tables tables");
  EXPECT_NE(trained.output.find("warning: short.tsv:1: The classes file has fewer classes"), std::string::npos)
      << trained.output;
  Cli("train short.tsv --model x --tables tables --strict-classes", 1);
  // An unlabelled text's sentences are not trained as class 0.
  WriteFile(dir_.Path("half.tsv"), "a\ta.classes\t\nb\t\t\n");
  EXPECT_NE(Cli("train half.tsv --model x --tables tables").output.find("Trained on 2 texts, 5 sentences, 40.0 %"),
            std::string::npos);

  WriteFile(dir_.Path("empty"), "");
  WriteFile(dir_.Path("empty.tsv"), "empty\ta.classes\t\nc\tc.classes\t\n");
  const testing::CommandResult folds = Cli("crossval empty.tsv --folds 2 --rate 0.4 --tables tables", 1);
  EXPECT_NE(folds.output.find("has no sentence with a class to train on"), std::string::npos) << folds.output;
  // Held out alone, an empty text gives no rows; the others are trained on.
  WriteFile(dir_.Path("empty.tsv"), "empty\ta.classes\t\na\ta.classes\t\nb\tb.classes\t\n");
  const testing::CommandResult rows =
      Cli("crossval empty.tsv --folds 3 --rate 0.4 --format csv --tables tables 2>/dev/null");
  EXPECT_EQ(std::count(rows.output.begin(), rows.output.end(), '\n'), 1 + 6 + 3) << rows.output;

  const std::pair<std::string, int> jobs[] = {{"1024", 0}, {"1025", 2}, {"0", 2}};
  for (const auto& [count, status] : jobs) {
    const testing::CommandResult result = Cli("train m.tsv --model x --tables tables --jobs " + count, status);
    if (status == 2) {
      EXPECT_NE(result.output.find("--jobs must be a whole number from 1 to 1024"), std::string::npos) << count;
    }
  }
}

}  // namespace
}  // namespace casewright
