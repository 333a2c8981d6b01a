#include "experiment/fold_file.h"

#include <gtest/gtest.h>

#include "core/run_error.h"

namespace casewright {
namespace {

const std::vector<std::string> kFoldTexts = {"a.txt", "b,c.txt", "d.txt"};

TEST(FoldFileTest, WritesAndReadsBackAnAssignment) {
  const FoldAssignment folds{2, {{0, 1, 1}, {1, 0, 0}}};
  const std::string csv = FoldsCsv(folds, kFoldTexts);
  EXPECT_EQ(csv, "text,repeat,fold\na.txt,1,1\n\"b,c.txt\",1,2\nd.txt,1,2\na.txt,2,2\n\"b,c.txt\",2,1\nd.txt,2,1\n");
  const FoldAssignment read = ParseFolds(csv, "f.csv", kFoldTexts);
  EXPECT_EQ(read.folds, 2u);
  EXPECT_EQ(read.fold_of, folds.fold_of);
  // Any order, CR LF and blank lines.
  EXPECT_EQ(ParseFolds("text,repeat,fold\r\n\r\nd.txt,1,3\r\na.txt,1,1\r\n\"b,c.txt\",1,2\r\n", "f", kFoldTexts).fold_of,
            (std::vector<std::vector<std::size_t>>{{0, 1, 2}}));
}

TEST(FoldFileTest, RefusesNamingTheFileAndLine) {
  const std::string header = "text,repeat,fold\n";
  const std::string complete = "a.txt,1,1\n\"b,c.txt\",1,2\nd.txt,1,2\n";
  const std::pair<std::string, std::string> cases[] = {
      {"text,fold\n", "f.csv:1: The first line must be the header text,repeat,fold"},
      {header + "a.txt,1\n", "f.csv:2: The row has 2 fields, the header 3"},
      {header + complete + "e.txt,1,1\n", "f.csv:5: The text e.txt is not in the manifest"},
      {header + complete + "a.txt,1,2\n", "f.csv:5: The text a.txt already has a fold in repeat 1, on line 2"},
      {header + "a.txt,0,1\n", "f.csv:2: Repeat \"0\" is out of range: repeats are numbered from 1 to 1000"},
      {header + "a.txt,1001,1\n", "f.csv:2: Repeat \"1001\" is out of range: repeats are numbered from 1 to 1000"},
      {header + "a.txt,x,1\n", "f.csv:2: Repeat \"x\" is out of range: repeats are numbered from 1 to 1000"},
      {header + "a.txt,1,4\n",
       "f.csv:2: Fold \"4\" is out of range: folds are numbered from 1 to the number of texts (3)"},
      // At the limits: repeat 1000 and fold 3 are read, and the file then
      // lacks the rest.
      {header + "a.txt,1000,3\n", "f.csv: The file gives the text a.txt no fold in repeat 1"},
      {header + complete + "a.txt,2,1\nd.txt,2,2\n", "f.csv: The file gives the text b,c.txt no fold in repeat 2"},
      {header + "a.txt,1,1\n\"b,c.txt\",1,3\nd.txt,1,3\n",
       "f.csv: Repeat 1 has no text in fold 2 of 3: folds are numbered from 1 without gaps"},
      {header + "a.txt,1,1\n\"b,c.txt\",1,1\nd.txt,1,1\n",
       "f.csv: The file deals the texts into 1 fold: cross-validation needs at least 2"},
      {header, "f.csv: The file holds no fold"},
  };
  for (const auto& [contents, message] : cases) {
    try {
      ParseFolds(contents, "f.csv", kFoldTexts);
      ADD_FAILURE() << "read " << contents;
    } catch (const RunError& e) {
      EXPECT_EQ(e.Describe(), message) << contents;
    }
  }
}

}  // namespace
}  // namespace casewright
