#include "cli/parse_error.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace casewright::cli {
namespace {

// A parser shaped like the program's: options of its own, a subcommand
// with checked numbers, and one with a subcommand of its own.
class ParseErrorTest : public ::testing::Test {
 protected:
  ParseErrorTest() {
    app_.add_option("--text", text_)->type_name("FILE");
    app_.add_option("--output", text_);
    app_.add_option("--format", text_)->check(CLI::IsMember({"plain", "quinlan", "arff", "csv"}));
    CLI::App* batch = app_.add_subcommand("batch");
    batch->add_option("manifest", text_)->required();
    batch->add_option("--jobs", number_)->check(CLI::PositiveNumber);
    batch->add_option("--limit", number_)->check(CLI::NonNegativeNumber);
    batch->add_option("--share", number_)->check(CLI::Range(0.0, 1.5));
    CLI::App* tables = app_.add_subcommand("tables");
    tables->require_subcommand(1);
    tables->add_subcommand("build")->add_option("--into", text_)->required();
  }

  // What the program says of `arguments`, and the hint that follows.
  std::string Complaint(std::vector<std::string> arguments) {
    std::reverse(arguments.begin(), arguments.end());
    try {
      app_.parse(arguments);
    } catch (const CLI::ParseError& e) {
      return DescribeParseError(app_, e) + " | " + HelpHint(ChosenCommand(app_));
    }
    return "accepted";
  }

  CLI::App app_;
  std::string text_;
  double number_ = 0;
};

TEST_F(ParseErrorTest, Messages) {
  const struct {
    std::vector<std::string> arguments;
    std::string complaint;
  } kCases[] = {
      {{"--txt", "a"}, "unknown option --txt (did you mean --text?) | See casewright-cli --help."},
      {{"--txt=a"}, "unknown option --txt (did you mean --text?) | See casewright-cli --help."},
      {{"--out", "a"}, "unknown option --out (did you mean --output?) | See casewright-cli --help."},
      {{"--zzz"}, "unknown option --zzz | See casewright-cli --help."},
      // The options of the subcommand in use, not the program's; before the
      // missing manifest, which the unknown option explains.
      {{"batch", "--jbos", "2"}, "unknown option --jbos (did you mean --jobs?) | See casewright-cli batch --help."},
      {{"batch", "m", "--text", "t"}, "unknown option --text | See casewright-cli batch --help."},
      {{"bacth"}, "unexpected argument bacth (did you mean batch?) | See casewright-cli --help."},
      {{"tables", "bild"}, "unexpected argument bild (did you mean build?) | See casewright-cli tables --help."},
      {{"--format", "arf"},
       "--format: \"arf\" is not one of plain, quinlan, arff, csv (did you mean arff?) | See casewright-cli --help."},
      {{"--text"}, "--text needs a value (FILE) | See casewright-cli --help."},
      {{"batch", "m", "--jobs", "0"}, "--jobs: \"0\" is not a number more than 0 | See casewright-cli batch --help."},
      {{"batch", "m", "--jobs", "abc"},
       "--jobs: \"abc\" is not a number more than 0 | See casewright-cli batch --help."},
      {{"batch", "m", "--limit", "-1"},
       "--limit: \"-1\" is not a number of at least 0 | See casewright-cli batch --help."},
      {{"batch", "m", "--share", "1.6"},
       "--share: \"1.6\" is not a number from 0 to 1.5 | See casewright-cli batch --help."},
      {{"tables", "build"}, "--into is required | See casewright-cli tables build --help."},
  };
  for (const auto& c : kCases) {
    app_.clear();
    EXPECT_EQ(Complaint(c.arguments), c.complaint) << c.arguments.front();
  }
}

TEST(NearestWordTest, NearEnoughOrNothing) {
  const std::vector<std::string> options = {"--text", "--classes", "--output", "--features"};
  EXPECT_EQ(NearestWord("--clases", options), "--classes");
  EXPECT_EQ(NearestWord("--ouptut", options), "--output");  // a swap is one edit
  EXPECT_EQ(NearestWord("--feat", options), "--features");  // the beginning of one
  EXPECT_EQ(NearestWord("--fe", options), "");
  EXPECT_EQ(NearestWord("--x", options), "");
}

}  // namespace
}  // namespace casewright::cli
