// A file of scores, one per sentence of a text, as a classifier gives them:
// the higher, the more the sentence belongs in the summary.  Three forms are
// read, told apart by their first line that is not blank:
//
//   numbers  one number a line, one line per sentence in text order (what
//            numpy.savetxt writes of predict_proba(X)[:, 1]).  Blank lines
//            at the end are ignored, one among the numbers is an error.
//   CSV      a header holding the columns `sentence` (the sentence's number,
//            from 1) and `score`, and maybe `text`; then one row per
//            sentence, in any order.  With a `text` column the file may hold
//            several texts: only the rows whose text is the one asked for
//            are read.  With a `repeat` column (the out-of-fold scores of
//            `crossval --repeats`, one set per draw of folds) only the rows
//            of repeat 1 are read: one file holds one score per sentence
//            for each repeat, and the first draw is the one a single run
//            makes.  Fields may be double-quoted, as pandas writes them.
//   Weka     the output of `-p 0 -distribution` (a line "=== Predictions"
//            comes first): the score of a sentence is the probability of
//            the class `1`.  Its column in the distribution is the index of
//            the value `1` in an "actual" or "predicted" field ("2:1");
//            when no row names `1` and the distribution has two columns,
//            one of them named `0`, class 1 is the other.
//
// Every failure is a RunError naming the file and, where there is one, the
// line ("scores.csv:7"): a field that is no number (or not finite), a
// sentence number out of range or given twice, a sentence without a score,
// a file with more or fewer scores than the text has sentences, a CSV
// without the rows of the text.
#ifndef CASEWRIGHT_SUMMARY_SCORE_FILE_H_
#define CASEWRIGHT_SUMMARY_SCORE_FILE_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace casewright {

// The scores of the `sentence_count` sentences of the text `text_id` (its
// path as the CSV's `text` column spells it; unused by the other forms),
// from the bytes `contents` of the file `path`.
std::vector<double> ParseScores(std::string_view contents, const std::string& path, const std::string& text_id,
                                std::size_t sentence_count);

// The same, read from the file at `path`.  Throws RunError when it cannot
// be read.
std::vector<double> ReadScores(const std::string& path, const std::string& text_id, std::size_t sentence_count);

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_SCORE_FILE_H_
