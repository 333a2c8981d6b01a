// Presence of keywords.
//
// The keywords are the two heaviest words of the WordTable, chosen in two
// passes over the table in its order.  A pass takes the first entry and
// replaces it only by a strictly heavier one, so among equal weights the
// earliest entry wins; the chosen entry's Weight is then set to 0.0, so the
// second pass picks the heaviest remaining word.  When no entry has a
// positive weight a pass picks the first entry, whatever its word: with
// fewer than two positive weights the first word of the table (a stopword,
// maybe) becomes a keyword, and may be chosen twice.  Both choices are
// appended to the KeywordList, and every sentence holding one of them gets
// HasKeyword.
//
// Stopwords lose the choice only through the weight 0.0 SuppressStopwords
// gave them; the stoplist is not consulted here.
#ifndef CASEWRIGHT_FEATURES_KEYWORDS_H_
#define CASEWRIGHT_FEATURES_KEYWORDS_H_

#include "core/run.h"

namespace casewright {

// Fills run.keyword_list with two entries, zeroes their weights and sets
// HasKeyword.  Does nothing when the WordTable is empty.
// REQUIRES: SuppressStopwords has run.
void MarkKeywords(Run& run);

}  // namespace casewright

#endif  // CASEWRIGHT_FEATURES_KEYWORDS_H_
