#include "summary/summary_figures.h"

#include <algorithm>

namespace casewright {
namespace {

std::vector<TokenId> Concatenated(const SentenceTokens& sentences) {
  std::vector<TokenId> tokens;
  for (const auto& sentence : sentences) tokens.insert(tokens.end(), sentence.begin(), sentence.end());
  return tokens;
}

ReferenceSummary SummaryOf(SentenceTokens sentences) {
  RougeReference tokens(Concatenated(sentences));
  return {std::move(sentences), std::move(tokens)};
}

// The figures of each of `summaries`, choices of sentences of `text`.
std::vector<SummaryFigures> FiguresOfSummaries(const SentenceTokens& text,
                                               const std::vector<std::vector<std::size_t>>& summaries,
                                               const Reference& reference) {
  std::vector<SummaryFigures> figures(summaries.size());
  for (std::size_t d = 0; d < summaries.size(); ++d) {
    if (reference.sentences) {
      figures[d].sentence = SentenceScores(ChosenFlags(summaries[d], text.size()), *reference.sentences);
    }
  }
  const double weight = 1.0 / static_cast<double>(reference.summaries.size());
  for (const ReferenceSummary& one : reference.summaries) {
    // Each sentence of the text is looked up in the reference once, with
    // its skip-bigrams.
    std::vector<std::vector<std::uint32_t>> distinct(text.size()), skips(text.size());
    std::vector<bool> looked_up(text.size(), false);
    std::vector<std::uint32_t> summary, within;
    std::vector<std::size_t> starts;
    const std::vector<Scores> union_lcs = SummaryLevelRougeL(one.sentences, text, summaries);
    for (std::size_t d = 0; d < summaries.size(); ++d) {
      summary.clear();
      within.clear();
      starts.clear();
      for (std::size_t index : summaries[d]) {
        if (!looked_up[index]) {
          distinct[index] = one.tokens.Distinct(text[index]);
          skips[index] = one.tokens.SkipBigramIds(distinct[index]);
          looked_up[index] = true;
        }
        if (!summary.empty()) starts.push_back(summary.size());
        summary.insert(summary.end(), distinct[index].begin(), distinct[index].end());
        within.insert(within.end(), skips[index].begin(), skips[index].end());
      }
      const SequenceFigures sequence = one.tokens.CompareSentences(summary, starts, within);
      AddScaled(figures[d].rouge1, sequence.rouge1, weight);
      AddScaled(figures[d].rouge2, sequence.rouge2, weight);
      AddScaled(figures[d].rougeLseq, sequence.rougeLseq, weight);
      AddScaled(figures[d].rougeSU4, sequence.rougeSU4, weight);
      AddScaled(figures[d].rougeL, union_lcs[d], weight);
    }
  }
  return figures;
}

}  // namespace

Reference ExtractReference(const SentenceTokens& text, std::vector<bool> sentences) {
  SentenceTokens chosen;
  for (std::size_t i = 0; i < sentences.size(); ++i) {
    if (sentences[i]) chosen.push_back(text[i]);
  }
  Reference reference;
  reference.summaries.push_back(SummaryOf(std::move(chosen)));
  reference.sentences = std::move(sentences);
  return reference;
}

Reference AbstractReference(SentenceTokens sentences) {
  Reference reference;
  reference.summaries.push_back(SummaryOf(std::move(sentences)));
  return reference;
}

Reference CombinedReference(std::vector<Reference> references) {
  Reference combined = std::move(references.front());
  for (std::size_t i = 1; i < references.size(); ++i) {
    Reference& other = references[i];
    if (combined.sentences && other.sentences) {
      for (std::size_t s = 0; s < combined.sentences->size(); ++s) {
        if ((*other.sentences)[s]) (*combined.sentences)[s] = true;
      }
    } else {
      combined.sentences.reset();
    }
    for (ReferenceSummary& summary : other.summaries) combined.summaries.push_back(std::move(summary));
  }
  return combined;
}

SummaryFigures FiguresOf(const SentenceTokens& text, const std::vector<std::size_t>& chosen,
                         const Reference& reference) {
  return FiguresOfSummaries(text, {chosen}, reference).front();
}

int RandomDrawsFor(std::size_t sentences, int most) {
  const std::size_t enough = (kRandomDrawSentences + sentences - 1) / std::max<std::size_t>(sentences, 1);
  return std::min(most, std::max(kFewestRandomDraws, static_cast<int>(std::min<std::size_t>(enough, most))));
}

SummaryFigures MeanOfRandomDraws(const SentenceTokens& text, std::size_t count, const Reference& reference,
                                 RandomChoice& random, int most_draws) {
  const int draws = RandomDrawsFor(text.size(), most_draws);
  std::vector<std::vector<std::size_t>> summaries;
  for (int draw = 0; draw < draws; ++draw) summaries.push_back(random.Draw(text.size(), count));
  SummaryFigures mean;
  if (reference.sentences) mean.sentence = Scores{};
  const double weight = 1.0 / draws;
  for (const SummaryFigures& figures : FiguresOfSummaries(text, summaries, reference)) {
    if (figures.sentence) AddScaled(*mean.sentence, *figures.sentence, weight);
    AddScaled(mean.rouge1, figures.rouge1, weight);
    AddScaled(mean.rouge2, figures.rouge2, weight);
    AddScaled(mean.rougeL, figures.rougeL, weight);
    AddScaled(mean.rougeLseq, figures.rougeLseq, weight);
    AddScaled(mean.rougeSU4, figures.rougeSU4, weight);
  }
  return mean;
}

}  // namespace casewright
