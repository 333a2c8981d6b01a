#include "cli/method_options.h"

#include <gtest/gtest.h>

#include "cli/command.h"
#include "testing/run_command.h"
#include "testing/temp_dir.h"

namespace casewright::cli {
namespace {

template <typename Call>
std::string UsageMessage(Call call) {
  try {
    call();
  } catch (const UsageError& e) {
    return e.what();
  }
  return "no error";
}

TEST(MethodOptionsTest, BaselinesAndSelection) {
  const BaselineChoice chosen = ChooseBaselines({"random", "textrank", "feature:7", "oracle"});
  EXPECT_FALSE(chosen.lead);
  EXPECT_TRUE(chosen.random);
  EXPECT_EQ(chosen.methods, (std::vector<std::string>{"textrank", "feature:7", "oracle"}));
  EXPECT_EQ(UsageMessage([] { ChooseBaselines({"lsa", "lead", "lsa"}); }), "--baselines names lsa twice");
  EXPECT_EQ(UsageMessage([] { ChooseBaselines({"none", "lead"}); }),
            "--baselines none cannot go with another baseline");
  FeatureSet features = FeatureSet::All();
  features.Set(Feature::kCuePhrases, false);
  EXPECT_EQ(UsageMessage([&] { ChooseBaselines({"feature:8"}, features); }),
            "--baselines feature:8 needs feature 8 among --features");
  EXPECT_EQ(UsageMessage([] { ChooseBaselines({"feature:16"}); }),
            "--baselines feature:16 needs feature 16 among --features");
  EXPECT_EQ(UsageMessage([] { RefuseMethodNames({"model", "luhn:v2"}, {false, false, {"luhn"}}, "m.tsv"); }),
            "m.tsv:1: The system name luhn:v2 is the name of the baseline luhn; name the system otherwise");

  EXPECT_FALSE(ChooseSelection({}).mmr);
  const Selection mmr = ChooseSelection({"mmr", "1"});
  EXPECT_TRUE(mmr.mmr);
  EXPECT_EQ(mmr.lambda, 1);
  EXPECT_EQ(ChooseSelection({"mmr", "0"}).lambda, 0);
  EXPECT_EQ(ChooseSelection({"mmr", ""}).lambda, 0.7);
  EXPECT_EQ(UsageMessage([] { ChooseSelection({"mmr", "1.01"}); }),
            "--mmr-lambda must be a number from 0 to 1, such as 0.7, not 1.01");
  EXPECT_EQ(UsageMessage([] { ChooseSelection({"top", "0.5"}); }),
            "--mmr-lambda weighs --selection mmr: it needs --selection mmr");
}

// The method is checked as the command line is read.
TEST(MethodOptionsTest, SummarizeRefusesTheOracleAndASecondSource) {
  const auto run = [](const std::string& arguments) {
    return testing::RunShell(std::string(CASEWRIGHT_CLI) + " " + arguments + " 2>&1");
  };
  const testing::CommandResult oracle = run("summarize --text t --method oracle --rate 0.2");
  EXPECT_EQ(oracle.status, 2);
  EXPECT_NE(oracle.output.find("oracle needs a reference summary; use it in evaluate or crossval --baselines"),
            std::string::npos)
      << oracle.output;
  const testing::CommandResult two = run("summarize --text t --method lsa --scores s --rate 0.2");
  EXPECT_NE(two.output.find("summarize needs one of --scores, --model and --method"), std::string::npos)
      << two.output;
}

// A method's extract and scores, by MMR, from a text of the CLI's own making.
TEST(MethodOptionsTest, SummarizeWithAMethod) {
  testing::TempDir dir;
  testing::WriteFile(dir.Path("lexicon.tsv"), "casas\tcasa\n");
  testing::WriteFile(dir.Path("stoplist.txt"), "o\n");
  testing::WriteFile(dir.Path("cues.txt"), "resumo\n");
  testing::WriteFile(dir.Path("text"), "O gato viu o rato. O gato viu o rato. O cão dormiu. O gato comeu.\n");
  const std::string cli = std::string(CASEWRIGHT_CLI) + " ";
  ASSERT_EQ(testing::RunShell(cli + "tables build --lexicon " + dir.Path("lexicon.tsv") + " --stoplist " +
                              dir.Path("stoplist.txt") + " --cues " + dir.Path("cues.txt") + " --into " +
                              dir.Path("tables"))
                .status,
            0);
  const std::string summarize = cli + "summarize --text " + dir.Path("text") + " --tables " + dir.Path("tables") +
                                " --method luhn --sentences 2 --scores-output " + dir.Path("scores") + " --output - ";
  // gato, viu and rato occur twice or more: S1 and S2 score 3^2 / 4 (o
  // between viu and rato), S4 1.
  EXPECT_EQ(testing::RunShell(summarize + "2>/dev/null").output, "O gato viu o rato.\nO gato viu o rato.\n");
  EXPECT_EQ(testing::ReadFile(dir.Path("scores")), "2.250000\n2.250000\n0.000000\n1.000000\n");
  // As baselines of evaluate, beside each of two systems; a system named as
  // one of them is refused.
  testing::WriteFile(dir.Path("classes"), "1 0 0 1");
  testing::WriteFile(dir.Path("m.tsv"),
                     "#text\treference\ta\tb\ntext\tclasses:classes\tclasses:classes\tclasses:classes\n");
  const std::string evaluate = cli + "evaluate " + dir.Path("m.tsv") + " --tables " + dir.Path("tables") +
                               " --format csv --bootstrap 0 --baselines luhn,oracle";
  const testing::CommandResult rows = testing::RunShell(evaluate + " 2>/dev/null | cut -d, -f1,2,8");
  EXPECT_EQ(rows.output,
            "text,system,sentence_f1\ntext,a,1.0000\ntext,b,1.0000\ntext,luhn:a,0.5000\ntext,oracle:a,1.0000\n"
            "text,luhn:b,0.5000\ntext,oracle:b,1.0000\nmean,a,1.0000\nmean,b,1.0000\nmean,luhn:a,0.5000\n"
            "mean,oracle:a,1.0000\nmean,luhn:b,0.5000\nmean,oracle:b,1.0000\n");
  testing::WriteFile(dir.Path("m.tsv"), "#text\treference\tluhn\ntext\tclasses:classes\tclasses:classes\n");
  EXPECT_NE(testing::RunShell(evaluate + " 2>&1").output.find("m.tsv:1: The system name luhn is the name of the "
                                                              "baseline luhn; name the system otherwise"),
            std::string::npos);
  // MMR at 0.5 passes over the repeated sentence (0.5 - 0.5 cos 1) for S4
  // (0.5 * 4/9 - 0.5 * cos 0.41); at 0.7, S2 still wins.
  EXPECT_EQ(testing::RunShell(summarize + "--selection mmr 2>/dev/null").output,
            "O gato viu o rato.\nO gato viu o rato.\n");
  EXPECT_EQ(testing::RunShell(summarize + "--selection mmr --mmr-lambda 0.5 2>/dev/null").output,
            "O gato viu o rato.\nO gato comeu.\n");
}

}  // namespace
}  // namespace casewright::cli
