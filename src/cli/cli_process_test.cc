// Runs casewright-cli as a process, as a batch script would.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "core/cp1252.h"
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

// Runs each command, expecting it to fail with "casewright-cli: " and its
// message.
void ExpectRefused(std::span<const std::pair<std::string, std::string>> refused) {
  for (const auto& [command, message] : refused) {
    Result result = RunCli(command);
    EXPECT_NE(result.status, 0) << command;
    EXPECT_NE(result.output.find("casewright-cli: " + message), std::string::npos) << result.output;
  }
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

// Features 9 to 16, named, follow the eight in every header, in table
// order; the default stays the eight.
TEST_F(CliTest, AllSixteenFeaturesOfABundledExample) {
  const std::string example = std::string(CASEWRIGHT_EXAMPLES) + "/example";
  const std::string run = "--text " + example + ".txt --classes " + example + ".classes --tables " +
                          dir_.Path("tables") + " --output " + dir_.Path("cases");
  const std::string eight =
      "size,text_location,paragraph_location,keyword,gist_word,distribution_weight,tf_isf,cue_phrase";
  const std::string more =
      ",title_similarity,centroid_similarity,cohesion,proper_noun,numeral,position,paragraph_position,centrality";
  ASSERT_EQ(RunCli(run + " --format csv --features 1-16 --raw " + dir_.Path("raw")).status, 0);
  const std::string csv = ReadFile(dir_.Path("cases"));
  EXPECT_EQ(csv.substr(0, csv.find('\n')), eight + more + ",class");
  EXPECT_EQ(std::count(csv.begin(), csv.begin() + csv.find('\n', csv.find('\n') + 1), ','), 2 * 16);
  const std::string raw = ReadFile(dir_.Path("raw"));
  EXPECT_TRUE(raw.substr(0, raw.find('\n')).ends_with("\ttf_isf\ttitle_similarity\tcentroid_similarity\tcohesion\t"
                                                     "proper_noun\tnumeral\tposition\tparagraph_position\t"
                                                     "centrality\tclass"));
  ASSERT_EQ(RunCli(run + " --format arff --features 1-8,9,13").status, 0);
  EXPECT_NE(ReadFile(dir_.Path("cases")).find("@attribute cue_phrase {0,1}\n@attribute title_similarity {1,2,3,4}\n"
                                              "@attribute numeral {0,1}\n@attribute class"),
            std::string::npos);
  ASSERT_EQ(RunCli(run + " --format csv").status, 0);
  EXPECT_TRUE(ReadFile(dir_.Path("cases")).starts_with(eight + ",class\n"));
}

TEST_F(CliTest, SuccessPrintsWhereTheCasesWentAndWarnings) {
  WriteFile(dir_.Path("text"), "Um. Dois.");
  WriteFile(dir_.Path("classes"), "1");
  Result result = RunCli(Arguments("--features 1"));
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.output.find("Wrote 2 cases to " + dir_.Path("cases")), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("warning: "), std::string::npos) << result.output;
}

// What is written to standard output goes there alone: the lines saying
// what was written then go to standard error.
TEST_F(CliTest, SummaryLinesLeaveStandardOutputToTheFiles) {
  WriteFile(dir_.Path("text"), "Um. Dois.");
  WriteFile(dir_.Path("classes"), "1 0");
  const std::string names = "0, 1.\n\n";  // no feature ticked
  Result run = RunCli(Arguments("--features none --names -") + " 2>/dev/null");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, names);
  Result cases = RunCli("--text " + dir_.Path("text") + " --classes " + dir_.Path("classes") +
                        " --output /dev/stdout --tables " + dir_.Path("tables") + " --features none 2>/dev/null");
  EXPECT_EQ(cases.output, "1\r\n0\r\n");

  WriteFile(dir_.Path("m.tsv"), "text\tclasses\tbatch.cases\n");
  Result batch = RunCli("batch " + dir_.Path("m.tsv") + " --tables " + dir_.Path("tables") +
                        " --features none --names - 2>/dev/null");
  EXPECT_EQ(batch.output, names);
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

  EXPECT_EQ(RunCli(Arguments("--features 17")).status, 2);
  EXPECT_EQ(RunCli("--text x").status, 2);
  // The parser's complaints have the form of the program's own.
  Result bogus = RunCli("batch --jbos 2");
  EXPECT_EQ(bogus.status, 2);
  EXPECT_EQ(bogus.output,
            "casewright-cli: unknown option --jbos (did you mean --jobs?)\nSee casewright-cli batch --help.\n");
  Result usage = RunCli("--text a --classes b");
  EXPECT_EQ(usage.status, 2);
  EXPECT_EQ(usage.output,
            "casewright-cli: --text and --output are required\nSee casewright-cli --help.\n");
  // Help or a version that cannot be written is a failure.
  for (const char* request : {"--help", "--version", "batch --help"}) {
    Result full = RunCli(std::string(request) + " > /dev/full");
    EXPECT_EQ(full.status, 1) << request;
    EXPECT_EQ(full.output, "casewright-cli: cannot write to standard output: No space left on device\n");
  }
  Result help = RunCli("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("Example"), std::string::npos);
  EXPECT_NE(help.output.find("--quinlan"), std::string::npos);
}

TEST_F(CliTest, IdsUnlabelledTextsAndDeclaredClassValues) {
  WriteFile(dir_.Path("text"), "Um. Dois tr\xEAs.");
  WriteFile(dir_.Path("classes"), "1 2");
  const std::string unlabelled = "--text " + dir_.Path("text") + " --output " + dir_.Path("cases") + " --tables " +
                                 dir_.Path("tables") + " --features 1 ";
  Result run = RunCli(unlabelled + "--format arff --ids --class-values 1,0");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output.find("warning"), std::string::npos) << run.output;
  const std::string name = "'" + dir_.Path("text") + "'";
  EXPECT_TRUE(ReadFile(dir_.Path("cases")).ends_with("@attribute class {1,0}\n\n@data\n" + name + ",1,2,?\n" +
                                                      name + ",2,4,?\n"));

  struct Refusal {
    std::string options;
    int status;
    std::string message;
  };
  for (const Refusal& refusal : std::vector<Refusal>{
           {"--ids", 2, "--ids: the plain layout has no place for ids; use --format arff or csv"},
           {"--class-values 0,x", 2, "--class-values: \"x\" is not a class value"},
           {"--class-values 0,1", 1, dir_.Path("classes") +
                                         ": Sentence 2 has the class 2, which is not one of the declared class "
                                         "values 0,1"}}) {
    Result refused = RunCli(Arguments(refusal.options));
    EXPECT_EQ(refused.status, refusal.status) << refusal.options;
    EXPECT_NE(refused.output.find(refusal.message), std::string::npos) << refused.output;
  }
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
  Result warned = RunCli(Arguments("--encoding windows-1252"));  // the UTF-8 text read as Windows-1252
  EXPECT_NE(warned.output.find("warning: The text looks like UTF-8"), std::string::npos) << warned.output;
  WriteFile(dir_.Path("text"), "Ol\xE1.");
  Result invalid = RunCli(Arguments("--encoding utf-8"));
  EXPECT_EQ(invalid.status, 1);
  EXPECT_NE(invalid.output.find(dir_.Path("text") + ": Invalid UTF-8 at byte offset 2"), std::string::npos)
      << invalid.output;
}

// The rows of a tsv listing, each split at its TABs, the header left out.
std::vector<std::vector<std::string>> TsvRows(const std::string& tsv) {
  std::vector<std::vector<std::string>> rows;
  std::size_t start = tsv.find('\n') + 1;
  for (std::size_t end; (end = tsv.find('\n', start)) != std::string::npos; start = end + 1) {
    std::vector<std::string>& row = rows.emplace_back();
    for (std::size_t from = start;;) {
      const std::size_t tab = std::min(tsv.find('\t', from), end);
      row.push_back(tsv.substr(from, tab - from));
      if (tab == end) break;
      from = tab + 1;
    }
  }
  return rows;
}

TEST_F(CliTest, ClassesFromAnExtractOfListedSentencesMarkExactlyThem) {
  // The text in one encoding, the extract in the other.
  const std::string cp1252 =
      "T\xEDtulo sem ponto\r\nA casa \xE9 bonita. Ela tem tr\xEAs quartos!\r\n\r\n"
      "O Sr. Silva mora l\xE1. Ele gosta? Sim.";
  for (const char* encoding : {"windows-1252", "utf-8"}) {
    const bool utf8 = encoding == std::string("utf-8");
    WriteFile(dir_.Path("text"), utf8 ? Cp1252ToUtf8(cp1252) : cp1252);
    const std::string common = " --text " + dir_.Path("text") + " --encoding " + encoding + " --tables " +
                               dir_.Path("tables");
    Result listed = RunCli("sentences --format tsv" + common);
    ASSERT_EQ(listed.status, 0) << listed.output;
    const auto rows = TsvRows(listed.output);
    ASSERT_EQ(rows.size(), 6u) << listed.output;
    // The keys (the test lexicon knows only "casas"), the words and the
    // Portuguese stems.
    EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "1", "0", "7", "T\xC3\xADtulo sem ponto A casa \xC3\xA9 bonita.",
                                                 "t\xC3\xADtulo sem ponto a casa \xC3\xA9 bonita",
                                                 "t\xC3\xADtulo sem ponto a casa \xC3\xA9 bonita",
                                                 "t\xC3\xADtul sem pont a cas \xC3\xA9 bonit"}));
    // Sentences 2, 4 and 5, shuffled, each on a line of its own or not;
    // then one a line, without their final punctuation.
    auto bare = [](std::string sentence) { return sentence.substr(0, sentence.size() - 1); };
    for (const auto& [extract, lines] :
         {std::pair{rows[4][4] + "\n" + rows[1][4] + " " + rows[3][4] + "\n", ""},
          std::pair{bare(rows[4][4]) + "\n" + bare(rows[1][4]) + "\n" + bare(rows[3][4]), " --extract-lines"}}) {
      WriteFile(dir_.Path("extract"), utf8 ? *Utf8ToCp1252(extract) : extract);
      Result made = RunCli("classes" + common + lines + " --extract " + dir_.Path("extract") + " --output " +
                           dir_.Path("classes"));
      ASSERT_EQ(made.status, 0) << made.output;
      // No warning.
      EXPECT_EQ(made.output, std::string("note: The extract was read as ") + (utf8 ? "Windows-1252" : "UTF-8") +
                                 ".\nWrote 6 classes to " + dir_.Path("classes") +
                                 ": 3 of 6 sentences of class 1 (50.0 %)\n");
      EXPECT_EQ(Cases(ReadFile(dir_.Path("text")), ReadFile(dir_.Path("classes")),
                      std::string("--features none --encoding ") + encoding),
                "0\r\n1\r\n0\r\n1\r\n1\r\n0\r\n");
    }
  }
}

TEST_F(CliTest, SentencesMarkWhereTheClassesStopFitting) {
  WriteFile(dir_.Path("text"), "Um. Dois.\r\nTr\xEAs. Quatro.");
  WriteFile(dir_.Path("classes"), "1 0 1");  // one short
  const std::string listing = "sentences --text " + dir_.Path("text") + " --classes " + dir_.Path("classes") +
                              " --tables " + dir_.Path("tables");
  Result text = RunCli(listing);
  EXPECT_EQ(text.status, 0);
  EXPECT_NE(text.output.find("3 [  1 Tr\xC3\xAAs.\n>>>> classes run out: the classes file has no class for this "
                             "sentence or any later one\n4  ] - Quatro.\n"),
            std::string::npos)
      << text.output;
  EXPECT_NE(text.output.find("warning: The classes file has fewer classes"), std::string::npos);

  WriteFile(dir_.Path("classes"), "1\n0 1 1 0 1");  // one class a line, then one too many
  Result tsv = RunCli(listing + " --format tsv --strict-classes");
  EXPECT_EQ(tsv.status, 1);
  const auto rows = TsvRows(tsv.output.substr(tsv.output.find("number\t")));
  ASSERT_GE(rows.size(), 5u) << tsv.output;
  EXPECT_EQ(rows[0][4] + "|" + rows[0][5], "10|merged class");
  EXPECT_EQ(rows[4][5], "1 extra class");
  EXPECT_NE(tsv.output.find(dir_.Path("classes") + ": The classes file runs digits together across line breaks "
                            "or other bytes that end no class, in 1 class: the first is the class 10 of "
                            "sentence 1, on lines 1 to 2"),
            std::string::npos)
      << tsv.output;
}

TEST_F(CliTest, UnmatchedExtractSentencesFailUnlessAllowedAndStrictClassesFail) {
  WriteFile(dir_.Path("text"), "Um dois. Tr\xEAs quatro.");
  WriteFile(dir_.Path("extract"), "Um dois. Cinco seis.");
  const std::string classes = "classes --text " + dir_.Path("text") + " --extract " + dir_.Path("extract") +
                              " --output " + dir_.Path("made") + " --tables " + dir_.Path("tables");
  Result failed = RunCli(classes);
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.output.find(dir_.Path("extract") +
                               ": Extract sentence 2 matches no sentence of the text: \"Cinco seis.\""),
            std::string::npos)
      << failed.output;
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("made")));
  Result allowed = RunCli(classes + " --allow-unmatched");
  EXPECT_EQ(allowed.status, 0);
  EXPECT_NE(allowed.output.find("warning: Extract sentence 2 matches no sentence"), std::string::npos);
  EXPECT_EQ(ReadFile(dir_.Path("made")), "1 0\n");
  EXPECT_EQ(RunCli(classes + " --min-overlap 0").status, 2);

  // An extract sentence that two sentences match, held once, gives the first
  // of them 1 with a warning; under --strict-classes it fails and writes
  // nothing.
  WriteFile(dir_.Path("extract"), "Um dois.");
  WriteFile(dir_.Path("text"), "Um dois. Tr\xEAs. Um, dois!");
  Result repeated = RunCli(classes);
  EXPECT_EQ(repeated.status, 0) << repeated.output;
  EXPECT_NE(repeated.output.find("warning: Extract sentence 1 matches 2 sentences of the text"), std::string::npos)
      << repeated.output;
  EXPECT_EQ(ReadFile(dir_.Path("made")), "1 0 0\n");
  std::filesystem::remove(dir_.Path("made"));
  Result strict = RunCli(classes + " --strict-classes");
  EXPECT_EQ(strict.status, 1);
  EXPECT_NE(strict.output.find(dir_.Path("extract") + ": Extract sentence 1 matches 2 sentences"), std::string::npos)
      << strict.output;
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("made")));

  // Classes written one a line run together: a warning, or with
  // --strict-classes a failure that writes nothing.
  WriteFile(dir_.Path("classes"), "1\n0\n");
  Result warned = RunCli(Arguments("--features none"));
  EXPECT_EQ(warned.status, 0);
  EXPECT_NE(warned.output.find("warning: The classes file runs digits together"), std::string::npos);
  std::filesystem::remove(dir_.Path("cases"));
  EXPECT_EQ(RunCli(Arguments("--features none --strict-classes")).status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("cases")));
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
  EXPECT_NE(result.output.find("Batch: 2 succeeded, 1 failed, of 3 texts; 4 cases\n"
                               "Classes: 2 of 4 sentences of class 1 (50.0 %)\n"),
            std::string::npos)
      << result.output;
  EXPECT_EQ(ReadFile(dir_.Path("c.cases")), "2 1\r\n4 0\r\n");
  EXPECT_EQ(result.output.find('\r'), std::string::npos);  // no progress line off a terminal

  // On a terminal the progress line is drawn, then cleared.
  WriteFile(dir_.Path("m.tsv"), "a.txt\ta.classes\ta.cases\n");
  Result terminal = RunCli("-qec '" + std::string(CASEWRIGHT_CLI) + " " + batch + "' /dev/null", "script");
  EXPECT_EQ(terminal.status, 0) << terminal.output;
  EXPECT_NE(terminal.output.find("\r1/1 texts, 2 sentences, "), std::string::npos) << terminal.output;

  EXPECT_EQ(RunCli(batch + " --shard 0/2 --combined -").status, 2);  // no room for the shard's index

  // Read from standard input, the manifest's paths are relative to the
  // working folder, and a "-" in it is the file named "-".
  WriteFile(dir_.Path("-"), "1 0");
  WriteFile(dir_.Path("m.tsv"), "a.txt\t-\tstdin.cases\n");
  Result piped = RunCli("batch - --tables " + dir_.Path("tables") + " --features 1 < m.tsv",
                        "cd " + testing::ShellQuoted(dir_.root().string()) + " && " CASEWRIGHT_CLI);
  EXPECT_EQ(piped.status, 0) << piped.output;
  EXPECT_EQ(ReadFile(dir_.Path("stdin.cases")), "2 1\r\n4 0\r\n");

  // A malformed line stops the batch before anything runs.
  std::filesystem::remove(dir_.Path("a.cases"));
  WriteFile(dir_.Path("m.tsv"), "a.txt\ta.classes\ta.cases\nb.txt\tb.classes\n");
  Result malformed = RunCli(batch);
  EXPECT_EQ(malformed.status, 1);
  EXPECT_NE(malformed.output.find(dir_.Path("m.tsv") + ":2: The line has 2 fields"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("a.cases")));
}

// Five sentences, each of two words but the fourth.
constexpr char kFiveSentences[] = "Um dia. Dois dias!\r\nTres casas. Quatro? Cinco sete.";

TEST_F(CliTest, SummarizeWritesTheBestSentencesAndTheirClasses) {
  WriteFile(dir_.Path("text"), kFiveSentences);
  // At 0.5 the summary takes 3 of 5 (2.5 rounded up); of the tied 0.9s and
  // 0.5s none is left out, so sentences 2, 3 and 4.
  WriteFile(dir_.Path("scores"), "0.1\n0.9\n0.5\n0.9\n0.2\n");
  Result made = RunCli("summarize --text " + dir_.Path("text") + " --scores " + dir_.Path("scores") +
                       " --rate 0.5 --output " + dir_.Path("extract") + " --classes-output " + dir_.Path("classes") +
                       " --tables " + dir_.Path("tables"));
  ASSERT_EQ(made.status, 0) << made.output;
  EXPECT_EQ(ReadFile(dir_.Path("extract")), "Dois dias!\nTres casas.\nQuatro?\n");
  EXPECT_EQ(ReadFile(dir_.Path("classes")), "0 1 1 1 0\n");
}

// The learner: the same model bytes from the same seed, a row per text
// and system in the cross-validation, and refusals that name what is wrong.
// Three texts of kFiveSentences, a, b and c, with their classes, and the
// manifest m.tsv of them.
void WriteLearnerManifest(const TempDir& dir) {
  std::string manifest;
  for (const char* name : {"a", "b", "c"}) {
    WriteFile(dir.Path(name), kFiveSentences);
    WriteFile(dir.Path(std::string(name) + ".classes"), name[0] == 'b' ? "0 0 1 1 0" : "1 1 0 0 0");
    manifest += dir.Path(name) + "\t" + dir.Path(std::string(name) + ".classes") + "\t\n";
  }
  WriteFile(dir.Path("m.tsv"), manifest);
}

TEST_F(CliTest, TrainSummarizeAndCrossvalWithTheLearner) {
  WriteLearnerManifest(dir_);
  const std::string tables = " --tables " + dir_.Path("tables");
  for (const char* model : {"m1", "m2"}) {
    Result trained = RunCli("train " + dir_.Path("m.tsv") + " --model " + dir_.Path(model) + " --seed 4" + tables);
    ASSERT_EQ(trained.status, 0) << trained.output;
    EXPECT_NE(trained.output.find("Trained on 3 texts, 15 sentences, 40.0 % of class 1"), std::string::npos);
  }
  EXPECT_EQ(ReadFile(dir_.Path("m1")), ReadFile(dir_.Path("m2")));

  Result scored = RunCli("summarize --model " + dir_.Path("m1") + " --text " + dir_.Path("a") + " --sentences 2" +
                         " --scores-output " + dir_.Path("scores") + " --output " + dir_.Path("extract") + tables);
  ASSERT_EQ(scored.status, 0) << scored.output;
  const std::string scores = ReadFile(dir_.Path("scores"));
  EXPECT_EQ(std::count(scores.begin(), scores.end(), '\n'), 5) << scores;

  Result folds =
      RunCli("crossval " + dir_.Path("m.tsv") + " --folds 3 --rate 0.4 --format csv" + tables + " 2>/dev/null");
  ASSERT_EQ(folds.status, 0) << folds.output;
  // A header, model, lead and random for each of the 3 texts, 3 mean rows.
  EXPECT_EQ(std::count(folds.output.begin(), folds.output.end(), '\n'), 1 + 9 + 3) << folds.output;

  const std::pair<std::string, std::string> refused[] = {
      {"crossval " + dir_.Path("m.tsv") + " --folds 4 --rate 0.4" + tables,
       "casewright-cli: --folds must be a whole number from 2 to the number of texts (3)"},
      {"summarize --model " + dir_.Path("m.tsv") + " --text " + dir_.Path("a") + " --rate 0.4" + tables,
       "casewright-cli: " + dir_.Path("m.tsv") + ": Not a model file (not the JSON of an XGBoost model)"},
      {"summarize --model " + dir_.Path("m1") + " --scores " + dir_.Path("scores") + " --text " + dir_.Path("a") +
           " --rate 0.4" + tables,
       "casewright-cli: summarize needs one of --scores, --model and --method"},
  };
  for (const auto& [command, message] : refused) {
    Result result = RunCli(command);
    EXPECT_NE(result.status, 0) << command;
    EXPECT_NE(result.output.find(message), std::string::npos) << result.output;
  }
}

// Folds drawn, written and reused: the same rows from the file as from the
// draw; and what cannot be cross-validated refused with its reason.
TEST_F(CliTest, CrossvalRepeatsWritesAndReusesItsFolds) {
  std::string manifest;
  for (const char* name : {"a", "b", "c", "d"}) {
    WriteFile(dir_.Path(name), kFiveSentences);
    WriteFile(dir_.Path(std::string(name) + ".classes"), name[0] % 2 ? "0 0 1 1 0" : "1 1 0 0 0");
    manifest += std::string(name) + "\t" + name + ".classes\t\n";
  }
  WriteFile(dir_.Path("m.tsv"), manifest);
  const std::string crossval = "cd " + dir_.Path("") + " && " + CASEWRIGHT_CLI + " crossval m.tsv --rate 0.4 " +
                               "--format csv --tables tables ";
  Result drawn = testing::RunShell(crossval + "--folds 2 --repeats 3 --folds-output f.csv --scores-output s.csv " +
                                   "2>/dev/null");
  ASSERT_EQ(drawn.status, 0) << drawn.output;
  // A header, model, lead and random for each of 4 texts in 3 repeats, 3 means.
  EXPECT_EQ(std::count(drawn.output.begin(), drawn.output.end(), '\n'), 1 + 36 + 3) << drawn.output;
  EXPECT_EQ(ReadFile(dir_.Path("f.csv")).substr(0, 17), "text,repeat,fold\n");
  const std::string scores = ReadFile(dir_.Path("s.csv"));
  EXPECT_EQ(std::count(scores.begin(), scores.end(), '\n'), 1 + 3 * 4 * 5);
  Result reused = testing::RunShell(crossval + "--folds-from f.csv 2>/dev/null");
  ASSERT_EQ(reused.status, 0) << reused.output;
  EXPECT_EQ(reused.output, drawn.output);

  WriteFile(dir_.Path("bad.csv"), "text,repeat,fold\na,1,1\nb,1,2\nc,1,1\nd,1,2\ne,1,1\n");
  const std::pair<std::string, std::string> refused[] = {
      {"--folds-from f.csv --folds 2", "casewright-cli: --folds-from gives the folds and repeats: leave out --folds "
                                       "and --repeats"},
      {"", "casewright-cli: crossval needs --folds or --folds-from"},
      {"--folds-from bad.csv", "casewright-cli: bad.csv:6: The text e is not in the manifest"},
      {"--folds 2 --repeats 1001", "casewright-cli: --repeats: \"1001\" is not a number from 1 to 1000"},
      {"--folds 2 --features 3 --ablation x", "casewright-cli: --ablation leaves out one feature at a time: it "
                                              "needs at least 2 features"},
      {"--folds 2 --bootstrap 0 --ablation x", "casewright-cli: --ablation gives intervals and paired tests: it "
                                               "needs --bootstrap above 0"},
  };
  for (const auto& [options, message] : refused) {
    Result result = testing::RunShell(crossval + options);
    EXPECT_NE(result.status, 0) << options;
    EXPECT_NE(result.output.find(message), std::string::npos) << result.output;
  }
}

TEST_F(CliTest, EvaluateGivesHandWorkedFigures) {
  WriteFile(dir_.Path("text"), kFiveSentences);
  WriteFile(dir_.Path("reference"), "Um dia.\nDois dias!\n");
  WriteFile(dir_.Path("system"), "1 0 1 0 0");
  WriteFile(dir_.Path("manifest"),
            "#text\treference\tmine\ntext\treference\tclasses:system\ntext\tabstract:reference\tclasses:system\n");
  Result figures = RunCli("evaluate " + dir_.Path("manifest") +
                          " --format csv --baselines lead --no-stem --bootstrap 0 --tables " + dir_.Path("tables"));
  ASSERT_EQ(figures.status, 0) << figures.output;
  // Sentences: 1 of 2 right.  Tokens: "um dia | tres casas" against "um
  // dia | dois dias": 2 words of 4, 1 bigram of 3; ROUGE-L's union for "um
  // dia" is both its words, for "dois dias" nothing: 2 of 4, as the LCS of
  // the whole sequences.  SU4: 6 skip-bigrams and 4 words a side, of which
  // (um, dia), um and dia match: 3 of 10.  The lead (the first 2 sentences)
  // is the reference.  Against the same words as an abstract, only the
  // sentence figures are gone.
  const std::string mine = "0.5000,0.5000,0.5000,0.3333,0.3333,0.3333,0.5000,0.5000,0.5000,0.5000,0.5000,0.5000,"
                           "0.3000,0.3000,0.3000\n";
  const std::string lead = "1.0000,1.0000,1.0000,1.0000,1.0000,1.0000,1.0000,1.0000,1.0000,1.0000,1.0000,1.0000,"
                           "1.0000,1.0000,1.0000\n";
  EXPECT_EQ(figures.output,
            "text,system,sentences,selected,reference_selected,sentence_precision,sentence_recall,sentence_f1,"
            "rouge1_precision,rouge1_recall,rouge1_f1,rouge2_precision,rouge2_recall,rouge2_f1,rougeL_precision,"
            "rougeL_recall,rougeL_f1,rougeLseq_precision,rougeLseq_recall,rougeLseq_f1,rougeSU4_precision,"
            "rougeSU4_recall,rougeSU4_f1\n"
            "text,mine,5,2,2,0.5000,0.5000,0.5000," + mine + "text,lead,5,2,2,1.0000,1.0000,1.0000," + lead +
            "text,mine,5,2,,,,," + mine + "text,lead,5,2,,,,," + lead + "mean,mine,5,2,2,0.5000,0.5000,0.5000," +
            mine + "mean,lead,5,2,2,1.0000,1.0000,1.0000," + lead);
}

// Two references of one text: the sentence figures against the union of
// their sentences, each ROUGE figure the mean against each; and the
// summaries exported, one sentence a line.
TEST_F(CliTest, EvaluateAveragesOverReferencesAndExportsTheSummaries) {
  WriteFile(dir_.Path("text"), kFiveSentences);
  WriteFile(dir_.Path("first"), "Um dia.\n");
  WriteFile(dir_.Path("third"), "0 0 1 0 0");
  WriteFile(dir_.Path("system"), "1 0 1 0 0");
  WriteFile(dir_.Path("m.tsv"), "#text\treference\tmine\ntext\tfirst | classes:third\tclasses:system\n");
  const std::string evaluate =
      "evaluate " + dir_.Path("m.tsv") + " --baselines none --bootstrap 0 --no-stem --tables " + dir_.Path("tables");
  Result figures = RunCli(evaluate + " --format csv --export " + dir_.Path("out"));
  ASSERT_EQ(figures.status, 0) << figures.output;
  // "um dia tres casas" against "um dia" and against "tres casas" alike:
  // ROUGE-1, ROUGE-L and the LCS 2 of 4 and of 2; ROUGE-2 1 of 3 and of 1;
  // SU4 3 of 10 and of 3.
  EXPECT_NE(figures.output.find("\ntext,mine,5,2,2,1.0000,1.0000,1.0000,0.5000,1.0000,0.6667,0.3333,1.0000,0.5000,"
                                "0.5000,1.0000,0.6667,0.5000,1.0000,0.6667,0.3000,1.0000,0.4615\n"),
            std::string::npos)
      << figures.output;
  EXPECT_EQ(ReadFile(dir_.Path("out/mine/text.txt")), "Um dia.\nTres casas.\n");
  EXPECT_EQ(ReadFile(dir_.Path("out/reference1/text.txt")), "Um dia.\n");
  EXPECT_EQ(ReadFile(dir_.Path("out/reference2/text.txt")), "Tres casas.\n");

  // An export that would replace an input is refused before anything is
  // read or written.
  std::filesystem::create_directories(dir_.Path("out/mine"));
  WriteFile(dir_.Path("out/mine/text.txt"), "1 0 1 0 0");
  WriteFile(dir_.Path("m.tsv"), "#text\treference\tmine\ntext\tfirst\tclasses:out/mine/text.txt\n");
  WriteFile(dir_.Path("up.tsv"), "#text\treference\t..\ntext\tfirst\tclasses:system\n");
  const std::pair<std::string, std::string> refused[] = {
      {evaluate + " --export " + dir_.Path("out"),
       dir_.Path("out/mine/text.txt") + ": The exported summary is the same file as the classes file"},
      {evaluate + " --tokens lemmas", "--tokens: \"lemmas\" is not one of keys, words, stems"},
      {"evaluate " + dir_.Path("up.tsv") + " --export " + dir_.Path("out") + " --tables " + dir_.Path("tables"),
       dir_.Path("up.tsv") + ":1: The system name .. cannot name a folder of the export"},
  };
  ExpectRefused(refused);
  EXPECT_EQ(ReadFile(dir_.Path("out/mine/text.txt")), "1 0 1 0 0");
}

// "sol e mar" against "lua e sal-gema": the keys keep "sal-gema" whole, 1
// of 3 tokens each side match; the words split it, 1 of 4 against 1 of 3
// (F1 2/7); without the stoplist's "e" nothing matches.
TEST_F(CliTest, EvaluateComparesTheTokensAsked) {
  WriteFile(dir_.Path("text"), "Sol e mar. Lua e sal-gema.");
  WriteFile(dir_.Path("first"), "1 0");
  WriteFile(dir_.Path("second"), "0 1");
  WriteFile(dir_.Path("m.tsv"), "text\tclasses:first\tclasses:second\n");
  for (const auto& [options, rouge1] : {std::pair{"", "0.3333,0.3333,0.3333"},
                                        std::pair{"--tokens words", "0.2500,0.3333,0.2857"},
                                        std::pair{"--no-stem", "0.2500,0.3333,0.2857"},
                                        std::pair{"--tokens stems --no-stopwords", "0.0000,0.0000,0.0000"}}) {
    Result figures = RunCli("evaluate " + dir_.Path("m.tsv") + " --baselines none --bootstrap 0 --format csv" +
                            " --tables " + dir_.Path("tables") + " " + options);
    ASSERT_EQ(figures.status, 0) << figures.output;
    EXPECT_NE(figures.output.find("\ntext,system1,2,1,1,0.0000,0.0000,0.0000," + std::string(rouge1) + ","),
              std::string::npos)
        << options << "\n" << figures.output;
  }
}

TEST_F(CliTest, SummarizeAndEvaluateRefuseBadInputNamingIt) {
  WriteFile(dir_.Path("text"), kFiveSentences);
  WriteFile(dir_.Path("six"), "1\n2\n3\n4\n5\n6\n");
  WriteFile(dir_.Path("other.csv"), "text,sentence,score\nother.txt,1,0.5\n");
  WriteFile(dir_.Path("short.tsv"), "text\treference\n");
  WriteFile(dir_.Path("stray"), "Um dia.\nSeis meses.\n");
  WriteFile(dir_.Path("stray.tsv"), "text\tstray\tclasses:text\n");
  const std::string summarize = "summarize --text " + dir_.Path("text") + " --tables " + dir_.Path("tables");
  const std::string evaluate = " --tables " + dir_.Path("tables");
  struct Case {
    std::string arguments;
    int status;
    std::string message;
  };
  for (const Case& c : {
           Case{summarize + " --scores " + dir_.Path("six") + " --rate 0", 2,
                "--rate: \"0\" is not a share more than 0 and at most 1 (say 0.2)"},
           Case{summarize + " --scores " + dir_.Path("six") + " --sentences 2", 1,
                dir_.Path("six") + ":6: The file holds 6 scores, but the text has only 5 sentences"},
           Case{summarize + " --scores " + dir_.Path("other.csv") + " --sentences 2", 1,
                dir_.Path("other.csv") + ": The file holds no row of the text " + dir_.Path("text") +
                    " (it holds other.txt)"},
           Case{summarize + " --scores " + dir_.Path("six") + " --sentences 2 --output " + dir_.Path("six"), 1,
                dir_.Path("six") + ": The extract is the same file as the scores file (" + dir_.Path("six") + ")"},
           Case{"evaluate " + dir_.Path("short.tsv") + evaluate, 1,
                dir_.Path("short.tsv") + ":1: The line has 2 fields; a line is text<TAB>reference<TAB>system..."},
           Case{"evaluate " + dir_.Path("stray.tsv") + evaluate, 1,
                dir_.Path("stray.tsv") + ":1: " + dir_.Path("stray") +
                    ": Extract sentence 2 matches no sentence of the text"},
       }) {
    Result result = RunCli(c.arguments);
    EXPECT_EQ(result.status, c.status) << c.arguments << "\n" << result.output;
    EXPECT_NE(result.output.find(c.message), std::string::npos) << result.output;
  }
}

// Each refusal comes before anything is written: the files named keep
// their bytes.
TEST_F(CliTest, EvaluateRefusesManifestsThatWouldMisleadOrDestroy) {
  WriteFile(dir_.Path("text"), kFiveSentences);
  WriteFile(dir_.Path("reference"), "Um dia.\n");
  WriteFile(dir_.Path("system"), "1 0 1 0 0");
  WriteFile(dir_.Path("scores"), "5\n4\n3\n2\n1\n");
  const std::string line = "text\treference\tclasses:system\tscores:scores\n";
  WriteFile(dir_.Path("m.tsv"), line);
  WriteFile(dir_.Path("lead.tsv"), "#text\treference\tlead\tmine\n" + line);
  WriteFile(dir_.Path("twice.tsv"), "#text\treference\tx\tx\n" + line);
  WriteFile(dir_.Path("fewer.tsv"), "#text\treference\tx\ty\ntext\treference\tclasses:system\n");
  WriteFile(dir_.Path("scored.tsv"), "text\tscores:scores\tclasses:system\n");
  WriteFile(dir_.Path("nul.tsv"), std::string("text\treference\0x\tclasses:system\n", 32));
  const std::string tables = " --rate 0.4 --tables " + dir_.Path("tables");
  const std::string m = "evaluate " + dir_.Path("m.tsv") + tables;
  const std::pair<std::string, std::string> refused[] = {
      {m + " --output " + dir_.Path("reference"),
       dir_.Path("reference") + ": The output file is the same file as the extract (" + dir_.Path("reference") + ")"},
      {m + " --output " + dir_.Path("scores"),
       dir_.Path("scores") + ": The output file is the same file as the scores file (" + dir_.Path("scores") + ")"},
      {m + " --output " + dir_.Path("text"),
       dir_.Path("text") + ": The output file is the same file as the text file (" + dir_.Path("text") + ")"},
      {"evaluate " + dir_.Path("lead.tsv") + tables,
       dir_.Path("lead.tsv") + ":1: The system name lead is a baseline's name; name the system otherwise"},
      {"evaluate " + dir_.Path("twice.tsv") + tables,
       dir_.Path("twice.tsv") + ":1: The header names the system x twice"},
      {"evaluate " + dir_.Path("fewer.tsv") + tables,
       dir_.Path("fewer.tsv") + ":2: The line has 1 systems; the header names 2"},
      {"evaluate " + dir_.Path("scored.tsv") + tables, dir_.Path("scored.tsv") + ":1: A reference cannot be scores"},
      {"evaluate " + dir_.Path("nul.tsv") + tables,
       dir_.Path("nul.tsv") + ":1: The reference field holds a control character (0x00)"},
      {"evaluate /dev/zero" + tables, "/dev/zero: The file goes on past 64 MiB; reading stopped there"},
      {m + " --baselines both", "--baselines: both is not a baseline: lead, random, none, textrank, lexrank, "
                                 "lexrank-continuous, luhn, sumbasic, lsa, feature:N, oracle"},
  };
  ExpectRefused(refused);
  EXPECT_EQ(ReadFile(dir_.Path("reference")), "Um dia.\n");
  EXPECT_EQ(ReadFile(dir_.Path("scores")), "5\n4\n3\n2\n1\n");
  EXPECT_EQ(RunCli("evaluate --help").output.find("both"), std::string::npos);

  // Without a header the systems are named from system1.
  Result named = RunCli(m + " --baselines none --format csv");
  ASSERT_EQ(named.status, 0) << named.output;
  EXPECT_NE(named.output.find("\ntext,system1,5,2,"), std::string::npos) << named.output;
  EXPECT_NE(named.output.find("\ntext,system2,5,2,"), std::string::npos) << named.output;
}

// The text of kFiveSentences as the user would segment it: one sentence a
// line, the paragraph mark a blank line, so that every stage sees the same
// sentences and paragraphs.
constexpr char kFiveLines[] = "\nUm dia.\nDois dias!\n\n \nTres casas.\r\nQuatro?\nCinco sete.\n\n";

TEST_F(CliTest, SegmentedTextsGiveTheCasesOfTheSameSentences) {
  const std::string paragraphs = std::string(kFiveSentences) + "\r\n";
  for (const char* layout : {"", "--format csv --ids --features 1-8"}) {
    const std::string found = Cases(paragraphs, "1 0 1 0 0", layout);
    EXPECT_EQ(Cases(kFiveLines, "1 0 1 0 0", std::string(layout) + " --segmented"), found) << layout;
  }
  // A title without a period is a sentence of its own, not the start of the next.
  const std::string titled = Cases("T\xEDtulo\n\nUm dia", "1 0", "--features 1 --segmented");
  EXPECT_EQ(std::count(titled.begin(), titled.end(), '\n'), 2) << titled;
  EXPECT_EQ(Cases("\r\n \n\n", "", "--segmented"), "");

  const std::string single = Cases(kFiveLines, "1 0 1 0 0", "--format csv --segmented");
  WriteFile(dir_.Path("m.tsv"), dir_.Path("text") + "\t" + dir_.Path("classes") + "\t\n");
  Result batch = RunCli("batch " + dir_.Path("m.tsv") + " --segmented --format csv --combined " +
                        dir_.Path("all.csv") + " --tables " + dir_.Path("tables"));
  ASSERT_EQ(batch.status, 0) << batch.output;
  EXPECT_EQ(ReadFile(dir_.Path("all.csv")), single);
  Result listed = RunCli("sentences --segmented --format tsv --text " + dir_.Path("text") + " --tables " +
                         dir_.Path("tables"));
  EXPECT_NE(listed.output.find("\n3\t1\t0\t2\tTres casas.\t"), std::string::npos) << listed.output;
  EXPECT_NE(listed.output.find("\n5\t0\t1\t2\tCinco sete.\t"), std::string::npos) << listed.output;
}

// Each raw value is the one --raw writes for the sentence, to 6 significant
// digits; a location or a flag keeps its code.
TEST_F(CliTest, RawValuesReplaceTheCodesWhereAHeaderSaysSo) {
  WriteFile(dir_.Path("text"), kFiveSentences);
  WriteFile(dir_.Path("classes"), "1 0 1 0 0");
  Result run = RunCli(Arguments("--format arff --values raw --raw " + dir_.Path("raw.tsv")));
  ASSERT_EQ(run.status, 0) << run.output;
  const std::string arff = ReadFile(dir_.Path("cases"));
  EXPECT_NE(arff.find("@attribute size numeric\n@attribute text_location numeric\n"), std::string::npos) << arff;
  EXPECT_NE(arff.find("@attribute cue_phrase numeric\n@attribute class {0,1}\n"), std::string::npos) << arff;
  // Row 2 of --raw: number, text, word_count, ends_paragraph, text_location,
  // paragraph_location, keyword, gist word, cue phrase, weight, tf_isf, class.
  const std::string raw = ReadFile(dir_.Path("raw.tsv"));
  const std::size_t row = raw.find("\n2\t");
  ASSERT_NE(row, std::string::npos) << raw;
  std::vector<std::string> fields;
  for (std::size_t from = row + 1, tab; from < raw.find('\n', row + 1); from = tab + 1) {
    tab = std::min(raw.find_first_of("\t\n", from), raw.find('\n', row + 1));
    fields.push_back(raw.substr(from, tab - from));
  }
  ASSERT_EQ(fields.size(), 12u) << raw;
  const auto code_of = [](const std::string& location) {
    return location == "begin" ? "1" : location == "middle" ? "2" : "3";
  };
  char weight[32], tf_isf[32];
  std::snprintf(weight, sizeof weight, "%.6g", std::stod(fields[9]));
  std::snprintf(tf_isf, sizeof tf_isf, "%.6g", std::stod(fields[10]));
  const std::string case_row = fields[2] + "," + code_of(fields[4]) + "," + code_of(fields[5]) + "," + fields[6] + "," + fields[7] + "," + weight + "," + tf_isf + "," +
                               fields[8] + ",0\n";
  EXPECT_NE(arff.find("@data\n"), std::string::npos);
  EXPECT_EQ(arff.substr(arff.find('\n', arff.find("@data\n") + 6) + 1).substr(0, case_row.size()), case_row) << arff;

  EXPECT_TRUE(Cases(kFiveSentences, "1 0 1 0 0", "--format csv --values raw --features 1,3")
                  .starts_with("size_raw,paragraph_location_raw,class\n2,1,1\n"));
  ExpectRefused(std::vector<std::pair<std::string, std::string>>{
      {Arguments("--values raw"),
       "--values raw: the plain layout has no header to say the values are raw; use --format arff or csv"},
      {Arguments("--values raw --quinlan"),
       "--values raw: the quinlan layout has no header to say the values are raw; use --format arff or csv"},
  });
}

// A model records the values it learnt from and scores from the same; one
// without the record (an older model) learnt from codes.
TEST_F(CliTest, ModelsOfRawValuesAndOlderModelsOfCodes) {
  WriteLearnerManifest(dir_);
  const std::string tables = " --tables " + dir_.Path("tables");
  const auto scores_of = [&](const std::string& model) {
    Result scored = RunCli("summarize --model " + dir_.Path(model) + " --text " + dir_.Path("a") +
                           " --sentences 2 --scores-output " + dir_.Path("scores") + " --output /dev/null" + tables);
    EXPECT_EQ(scored.status, 0) << scored.output;
    return ReadFile(dir_.Path("scores"));
  };
  for (const char* values : {"codes", "raw"}) {
    Result trained = RunCli("train " + dir_.Path("m.tsv") + " --values " + values + " --model " +
                            dir_.Path(values) + tables);
    ASSERT_EQ(trained.status, 0) << trained.output;
    EXPECT_NE(ReadFile(dir_.Path(values)).find("\"casewright_values\":\"" + std::string(values) + "\""),
              std::string::npos);
  }
  EXPECT_NE(ReadFile(dir_.Path("raw")).find("\"size_raw\""), std::string::npos);
  const std::string codes = scores_of("codes");
  const std::string raw_scores = scores_of("raw");
  EXPECT_EQ(std::count(raw_scores.begin(), raw_scores.end(), '\n'), 5) << raw_scores;
  std::string older = ReadFile(dir_.Path("codes"));
  const std::string codes_record = "\"casewright_values\":\"codes\",";
  older.erase(older.find(codes_record), codes_record.size());
  WriteFile(dir_.Path("older"), older);
  EXPECT_EQ(scores_of("older"), codes);

  Result folds = RunCli("crossval " + dir_.Path("m.tsv") + " --values raw --segmented --folds 3 --rate 0.4" + tables);
  EXPECT_EQ(folds.status, 0) << folds.output;
  std::string unknown = ReadFile(dir_.Path("raw"));
  const std::string raw_record = "\"casewright_values\":\"raw\"";
  unknown.replace(unknown.find(raw_record), raw_record.size(), "\"casewright_values\":\"rank\"");
  WriteFile(dir_.Path("unknown"), unknown);
  ExpectRefused(std::vector<std::pair<std::string, std::string>>{
      {"summarize --model " + dir_.Path("unknown") + " --text " + dir_.Path("a") + " --rate 0.4" + tables,
       dir_.Path("unknown") + ": Not a model this casewright-cli can use (its casewright_values is \"rank\", not "
                              "codes or raw)"},
  });
}

}  // namespace
}  // namespace casewright
