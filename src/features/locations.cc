#include "features/locations.h"

#include <cstddef>
#include <cstdint>

namespace casewright {

namespace {

constexpr Location kBegin = Location::kBegin;
constexpr Location kMiddle = Location::kMiddle;
constexpr Location kEnd = Location::kEnd;

void MarkTextLocations(Run& run) {
  SentenceList& sentences = run.sentence_list;
  bool in_first_paragraph = true;
  // The latest paragraph end that is not the last sentence; the first
  // sentence while there is none, so that it alone stays "begin".
  std::size_t last_break = 0;
  for (std::size_t i = 0; i < sentences.size(); ++i) {
    sentences[i].TextPlace = in_first_paragraph ? kBegin : kMiddle;
    if (sentences[i].EndsParagraph && i + 1 < sentences.size()) {
      in_first_paragraph = false;
      last_break = i;
    }
    run.progress.Advance(i + 1);
  }
  for (std::size_t i = last_break + 1; i < sentences.size(); ++i) {
    sentences[i].TextPlace = kEnd;
  }
}

void MarkParagraphLocations(Run& run) {
  SentenceList& sentences = run.sentence_list;
  bool opening = true;
  for (std::size_t i = 0; i < sentences.size(); ++i) {
    frase& sentence = sentences[i];
    if (opening) {
      sentence.ParagraphPlace = kBegin;
      opening = false;
    } else if (sentence.EndsParagraph) {
      sentence.ParagraphPlace = kEnd;
      opening = true;
    } else {
      sentence.ParagraphPlace = kMiddle;
    }
    if (i + 1 == sentences.size()) sentence.ParagraphPlace = kEnd;
    run.progress.Advance(sentences.size() + i + 1);
  }
}

// A sentence opens a paragraph when it is the first or follows a paragraph
// end, whatever the length of the paragraph that ended.
void MarkParagraphMarks(Run& run) {
  SentenceList& sentences = run.sentence_list;
  for (std::size_t i = 0; i < sentences.size(); ++i) {
    const bool opens = i == 0 || sentences[i - 1].EndsParagraph;
    const bool closes = sentences[i].EndsParagraph || i + 1 == sentences.size();
    sentences[i].ParagraphMark = opens ? kBegin : closes ? kEnd : kMiddle;
  }
}

}  // namespace

void MarkPositions(Run& run) {
  SentenceList& sentences = run.sentence_list;
  const std::size_t n = sentences.size();
  for (std::size_t i = 0; i < n; ++i) {
    sentences[i].Position = static_cast<double>(i) / static_cast<double>(n);
    sentences[i].Fifth = static_cast<std::uint8_t>(1 + 5 * i / n);
  }
  MarkParagraphMarks(run);
}

void MarkLocations(Run& run) {
  if (run.sentence_list.empty()) return;
  // One unit per sentence in each of the two walks.
  run.progress.Begin(RunStage::kLocations, 2 * run.sentence_list.size());
  MarkTextLocations(run);
  MarkParagraphLocations(run);
  run.progress.End();
}

}  // namespace casewright
