// Which texts a cross-validation holds out together: a fold assignment, and
// the CSV file that keeps one so that another run (another feature set, say)
// is scored on the same folds.  The file is
//
//   text,repeat,fold
//   corpus/a.txt,1,2
//   ...
//
// a header, then one line for each text of the manifest (as the manifest
// spells it) and each repeat (each draw of folds), repeats and folds
// numbered from 1.  Blank lines are skipped.
#ifndef CASEWRIGHT_EXPERIMENT_FOLD_FILE_H_
#define CASEWRIGHT_EXPERIMENT_FOLD_FILE_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace casewright {

// The most repeats a cross-validation draws.
inline constexpr std::size_t kMaxRepeats = 1000;

struct FoldAssignment {
  std::size_t folds = 0;
  // fold_of[r][i]: the fold, from 0, of text i in repeat r (from 0).
  std::vector<std::vector<std::size_t>> fold_of;

  std::size_t repeats() const { return fold_of.size(); }
};

// The file of `folds`, whose texts are named by `names`.
// REQUIRES: every fold_of[r] has one fold per name.
std::string FoldsCsv(const FoldAssignment& folds, const std::vector<std::string>& names);

// The assignment in `contents`, the bytes of the file `path`, of the texts
// `names` (a manifest's, in its order).  Throws RunError naming the file,
// and the line where there is one, for: a first line other than the
// header; a line of another number of fields; a text not in `names`, or
// given a fold twice in one repeat; a repeat other than 1 to kMaxRepeats;
// a fold other than 1 to the number of texts; a text without a fold in a
// repeat; a fold without a text in a repeat (folds are numbered without
// gaps); fewer than 2 folds.
FoldAssignment ParseFolds(std::string_view contents, const std::string& path, const std::vector<std::string>& names);

// The same, read from the file at `path`.  Throws RunError when it cannot
// be read.
FoldAssignment ReadFolds(const std::string& path, const std::vector<std::string>& names);

}  // namespace casewright

#endif  // CASEWRIGHT_EXPERIMENT_FOLD_FILE_H_
