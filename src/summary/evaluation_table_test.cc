#include "summary/evaluation_table.h"

#include <sstream>

#include <gtest/gtest.h>

namespace casewright {
namespace {

std::vector<EvaluationRow> TwoTexts() {
  EvaluationRow a{"a.txt", "svm", 10, 2, 3, Scores{0.5, 1.0 / 3, 0.4}, {1, 0.5, 2.0 / 3}, {}, {0.25, 0.125, 1.0 / 6},
                  {0.2, 0.1, 0.4 / 3},  {0.4, 0.2, 0.8 / 3}};
  EvaluationRow b{"b,1.txt", "svm", 5, 1, std::nullopt, std::nullopt, {0, 0, 0}, {}, {0.75, 0.375, 0.5},
                  {0.6, 0.3, 0.4},      {0, 0, 0}};
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

}  // namespace
}  // namespace casewright
