// Training cases: one line per sentence, the codes of the ticked features in
// a fixed order, then the sentence's class from the classes file.
//
// The numeric features (sentence size, distribution weight, TF-ISF) are
// discretised into four levels against thresholds from their average and
// maximum over the text; the locations become 1 ("begin"), 2 ("middle") or
// 3 (anything else); the presence flags 1 or 0.
//
// Plain format:   "3 2 1 1 0 4 2 0 1" CR LF      (code and a space each)
// Quinlan format: "3, 2, 1, 1, 0, 4, 2, 0, 1." CR LF  (C4.5 data file layout)
#ifndef CASEWRIGHT_OUTPUT_CASE_WRITER_H_
#define CASEWRIGHT_OUTPUT_CASE_WRITER_H_

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/run.h"
#include "output/output_file.h"

namespace casewright {

struct FeatureThresholds {
  double Maximum = 0.0;  // the greatest value, never below 0.0
  double Average = 0.0;
  double Low = 0.0;      // Average / 2
  double High = 0.0;     // midway between Average and Maximum
};

// The thresholds of the feature `value` gives for each sentence.
// REQUIRES: !sentences.empty().
FeatureThresholds ComputeThresholds(const SentenceList& sentences, double (*value)(const frase&));

// Level 1 to 4 of `value`; a value equal to a threshold takes the lower level.
int LevelCode(double value, const FeatureThresholds& thresholds);

// A classes file, read class by class.  A class is the run of digits up to
// and including the next space, or up to the end of the file; every other
// byte is skipped, and a Ctrl-Z (0x1A) ends the file.
class ClassesFile {
 public:
  // Reads the whole file.  Throws RunError (file_error.h messages).
  explicit ClassesFile(const std::string& path);

  // The next class: its digits in order, possibly none.
  std::string ReadNextClass();

  bool AtEnd() const { return position_ >= bytes_.size(); }

  // The classes after the read position that hold at least one digit.
  std::size_t CountUnreadClasses() const;

 private:
  std::string bytes_;
  std::size_t position_ = 0;
};

enum class CaseFormat { kPlain, kQuinlan };

struct CasesWritten {
  // The class paired with each sentence.
  std::vector<std::string> classes;
  // A classes file with fewer or more classes than sentences, a text with
  // no sentence.
  std::vector<std::string> warnings;
};

// Writes one case per sentence of the run to `out`; features[k] switches
// feature k + 1.
CasesWritten WriteCases(Run& run, const std::array<bool, 8>& features, CaseFormat format,
                        ClassesFile& classes, OutputFile& out);

}  // namespace casewright

#endif  // CASEWRIGHT_OUTPUT_CASE_WRITER_H_
