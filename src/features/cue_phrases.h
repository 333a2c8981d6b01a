// Presence of cue phrases.
//
// A sentence has a cue phrase when one of its words has a key equal, byte
// for byte, to a word of the cue table.  Cues match one word at a time, so a
// table entry of several words never matches, and neither does an entry in a
// form no key takes (upper case, an inflected form the lexicon maps to
// another canonical form); a missing table value matches nothing.  The order
// of the table and repeated values do not matter.
//
// The cue table is read once per run, and each value is looked up once in
// the WordTable: a value no word of the text has as its key cannot match.
#ifndef CASEWRIGHT_FEATURES_CUE_PHRASES_H_
#define CASEWRIGHT_FEATURES_CUE_PHRASES_H_

#include "core/run.h"

namespace casewright {

// Sets HasCuePhrase of every sentence holding a cue word.  Does nothing on a
// text without sentences (the cue table is not even read).
void MarkCuePhrases(Run& run);

}  // namespace casewright

#endif  // CASEWRIGHT_FEATURES_CUE_PHRASES_H_
