// Aligning a reference extract with the sentences of its text.
//
// The extract is one stream of word keys, its sentence and line breaks left
// out; the text is a list of sentences, each a sequence of keys.  A sentence
// matches exactly where its keys stand in the stream one after the other, in
// order.  The alignment chooses matches that do not overlap and whose
// sentences come in the text's order as the stream goes on (a monotone
// alignment), covering as many keys of the stream as it can; a sentence the
// text repeats is thus chosen once for each time the stream holds it, at the
// occurrence the order allows, and the earliest when the order allows
// several.  Where the stream holds a whole sentence, shorter sentences its
// words also hold are not taken from inside it.
//
// Two rules keep chance matches out:
// - A match that leaves keys beside it, inside the same extract sentence,
//   that no exact match of another sentence could take either costs
//   kSideCost keys for each such side: a short sentence of the text
//   ("Sim.") is not taken from inside an extract sentence whose other words
//   match nothing.
// - A stretch of the stream that no exact match covers may take a near match
//   only with a minimum overlap R > 0: a sentence whose keys' longest common
//   subsequence with the stretch holds at least the share R of its keys,
//   counted from a key of the sentence to a key of the sentence and over at
//   most twice the sentence's length.  Each near match stands for one piece
//   of the stretch, so a stretch never takes more sentences than it has
//   pieces, and it must hold more than one key.  In a stream in the text's
//   order, the sentence must lie between those of the exact matches on
//   either side of the stretch.
//
// An extract whose sentences are out of the text's order is aligned again
// and again: each pass aligns what the passes before left uncovered, with the
// sentences they left unchosen, until a pass chooses nothing more.
#ifndef CASEWRIGHT_TEXT_EXTRACT_ALIGNMENT_H_
#define CASEWRIGHT_TEXT_EXTRACT_ALIGNMENT_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace casewright {

using KeySequence = std::vector<std::uint32_t>;

// What a match that leaves keys matched by nothing beside it costs, for
// each such side, in keys.
inline constexpr std::int64_t kSideCost = 2;

struct AlignmentInput {
  // The keys of each sentence of the text, in order; a sentence without keys
  // is never chosen.
  std::vector<KeySequence> sentences;
  // The extract's keys, one after the other.  A key no sentence holds
  // matches nothing.
  KeySequence stream;
  // stream.size() + 1 flags: whether an extract sentence begins (or the last
  // one ends) at each position of the stream.
  std::vector<bool> breaks;
  // The least share R of a sentence's keys a near match must hold; 0 asks
  // for exact matches only.
  double min_overlap = 0;
};

struct AlignedSentence {
  std::size_t sentence = 0;
  // The stretch of the stream it stands for: [begin, end).
  std::size_t begin = 0;
  std::size_t end = 0;
  bool near = false;
  // When sentences with the same keys could each have been chosen here, as
  // far as the matches right beside it in the stream tell, all of them (this
  // one among them); else empty.  In a stream out of the text's order (one
  // pass was not enough), every unchosen sentence with its keys.
  std::vector<std::size_t> equals;
};

// The sentence that shares the most keys with stream[begin, end), counted
// with repeats (a key twice in each counts twice, twice in one and once in
// the other once), the first of those that share as many; shared is 0 when
// none shares any.
struct ClosestSentence {
  std::size_t sentence = 0;
  std::size_t shared = 0;
};
ClosestSentence ClosestTo(const AlignmentInput& input, std::size_t begin, std::size_t end);

// The chosen sentences, in stream order.
// REQUIRES: input.breaks.size() == input.stream.size() + 1, with the first
// and last flags set; 0 <= input.min_overlap <= 1.
std::vector<AlignedSentence> AlignExtract(const AlignmentInput& input);

}  // namespace casewright

#endif  // CASEWRIGHT_TEXT_EXTRACT_ALIGNMENT_H_
