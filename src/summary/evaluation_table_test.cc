#include "summary/evaluation_table.h"

#include <sstream>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "summary/comparison.h"

namespace casewright {
namespace {

EvaluationRow Row(std::string text, std::string system) {
  EvaluationRow row;
  row.text = std::move(text);
  row.system = std::move(system);
  return row;
}

std::vector<EvaluationRow> TwoTexts() {
  EvaluationRow a = Row("a.txt", "svm");
  a.sentences = 10, a.selected = 2, a.reference_selected = 3, a.sentence = Scores{0.5, 1.0 / 3, 0.4};
  a.rouge1 = {1, 0.5, 2.0 / 3}, a.rougeL = {0.25, 0.125, 1.0 / 6}, a.rougeLseq = {0.2, 0.1, 0.4 / 3};
  a.rougeSU4 = {0.4, 0.2, 0.8 / 3};
  EvaluationRow b = Row("b,1.txt", "svm");
  b.sentences = 5, b.selected = 1, b.rougeL = {0.75, 0.375, 0.5}, b.rougeLseq = {0.6, 0.3, 0.4};
  return {a, b};
}

TEST(EvaluationTableTest, CsvHasTheColumnsAndLeavesWhatDoesNotApplyEmpty) {
  std::vector<EvaluationRow> rows = TwoTexts();
  rows[0].system = "svm \"c\"";  // a quote alone makes a field quoted
  std::ostringstream out;
  WriteEvaluation(rows, EvaluationFormat::kCsv, out);
  EXPECT_EQ(out.str(),
            "text,system,sentences,selected,reference_selected,sentence_precision,sentence_recall,sentence_f1,"
            "rouge1_precision,rouge1_recall,rouge1_f1,rouge2_precision,rouge2_recall,rouge2_f1,rougeL_precision,"
            "rougeL_recall,rougeL_f1,rougeLseq_precision,rougeLseq_recall,rougeLseq_f1,rougeSU4_precision,"
            "rougeSU4_recall,rougeSU4_f1\n"
            "a.txt,\"svm \"\"c\"\"\",10,2,3,0.5000,0.3333,0.4000,1.0000,0.5000,0.6667,0.0000,0.0000,0.0000,0.2500,"
            "0.1250,0.1667,0.2000,0.1000,0.1333,0.4000,0.2000,0.2667\n"
            "\"b,1.txt\",svm,5,1,,,,,0.0000,0.0000,0.0000,0.0000,0.0000,0.0000,0.7500,0.3750,0.5000,0.6000,0.3000,"
            "0.4000,0.0000,0.0000,0.0000\n");
}

TEST(EvaluationTableTest, MeansAverageOverTheRowsThatHaveEachFigure) {
  const std::vector<EvaluationRow> means = MeanRows(TwoTexts());
  ASSERT_EQ(means.size(), 1u);
  std::ostringstream out;
  WriteEvaluation(means, EvaluationFormat::kTable, out);
  EXPECT_EQ(out.str(),
            "text  system  sentences  selected  reference_selected  sentence_precision  sentence_recall  "
            "sentence_f1  rouge1_precision  rouge1_recall  rouge1_f1  rouge2_precision  rouge2_recall  rouge2_f1  "
            "rougeL_precision  rougeL_recall  rougeL_f1  rougeLseq_precision  rougeLseq_recall  rougeLseq_f1  "
            "rougeSU4_precision  rougeSU4_recall  rougeSU4_f1\n"
            "mean  svm        7.5000    1.5000                   3              0.5000           0.3333       0.4000  "
            "          0.5000         0.2500     0.3333            0.0000         0.0000     0.0000            "
            "0.5000         0.2500     0.3333               0.4000            0.2000        0.2667              "
            "0.2000           0.1000       0.1333\n");
}

TEST(EvaluationTableTest, IntervalsGetColumnsBesideTheirFiguresOnlyWhenSomeRowHasThem) {
  std::vector<EvaluationRow> rows = MeanRows(TwoTexts());
  rows[0].intervals.assign(FigureNames().size(), std::nullopt);
  rows[0].intervals[2] = Interval{0.25, 0.5};  // sentence_f1
  rows[0].auc = 0.75;
  rows.insert(rows.begin(), TwoTexts()[0]);
  std::ostringstream csv, table;
  WriteEvaluation(rows, EvaluationFormat::kCsv, csv);
  WriteEvaluation(rows, EvaluationFormat::kTable, table);
  const std::string header = csv.str().substr(0, csv.str().find('\n'));
  EXPECT_NE(header.find(",sentence_f1,sentence_f1_low,sentence_f1_high,rouge1_precision,"), std::string::npos);
  // A ranking figure that no row has gets no column, nor does `repeat`.
  EXPECT_TRUE(header.ends_with(",rougeSU4_f1_low,rougeSU4_f1_high,auc,auc_low,auc_high")) << header;
  EXPECT_EQ(header.find("repeat"), std::string::npos);
  EXPECT_NE(csv.str().find(",0.4000,0.2500,0.5000,"), std::string::npos) << csv.str();
  EXPECT_NE(table.str().find("  0.4000 [0.25, 0.50]  "), std::string::npos) << table.str();
}

TEST(EvaluationTableTest, EachSystemIsComparedWithItsOwnBaselinesAndTheOtherSystems) {
  std::vector<EvaluationRow> rows;
  for (const char* system : {"a", "b", "lead:a", "lead:b", "random:a"}) rows.push_back(Row("t", system));
  const std::vector<std::pair<std::string, std::string>> pairs = PairsToCompare({"a", "b"}, rows);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"a", "lead:a"}, {"a", "random:a"}, {"b", "lead:b"}, {"a", "b"}};
  EXPECT_EQ(pairs, expected);
  rows = {Row("t", "model"), Row("t", "lead")};
  EXPECT_EQ(PairsToCompare({"model"}, rows), (std::vector<std::pair<std::string, std::string>>{{"model", "lead"}}));
}

}  // namespace
}  // namespace casewright
