#include "summary/summary_figures.h"

namespace casewright {
std::vector<TokenId> SummaryTokens(const SentenceTokens& text, const std::vector<std::size_t>& chosen) {
  std::vector<TokenId> tokens;
  for (std::size_t index : chosen) tokens.insert(tokens.end(), text[index].begin(), text[index].end());
  return tokens;
}

Reference ExtractReference(const SentenceTokens& text, std::vector<bool> sentences) {
  std::vector<std::size_t> chosen;
  for (std::size_t i = 0; i < sentences.size(); ++i) {
    if (sentences[i]) chosen.push_back(i);
  }
  return {std::move(sentences), RougeReference(SummaryTokens(text, chosen))};
}

Reference AbstractReference(std::span<const TokenId> tokens) { return {std::nullopt, RougeReference(tokens)}; }

SummaryFigures FiguresOf(const SentenceTokens& text, const std::vector<std::size_t>& chosen,
                         const Reference& reference) {
  SummaryFigures figures;
  if (reference.sentences) figures.sentence = SentenceScores(ChosenFlags(chosen, text.size()), *reference.sentences);
  const std::vector<TokenId> tokens = SummaryTokens(text, chosen);
  const RougeFigures rouge = CompareWith(reference.tokens, tokens);
  figures.rouge1 = rouge.rouge1;
  figures.rouge2 = rouge.rouge2;
  figures.rougeL = rouge.rougeL;
  return figures;
}

// The same figures as FiguresOf, with each sentence's tokens looked up in
// the reference once for all the draws.
SummaryFigures MeanOfRandomDraws(const SentenceTokens& text, std::size_t count, const Reference& reference,
                                 RandomChoice& random, int draws) {
  std::vector<std::vector<std::uint32_t>> distinct;
  for (const std::vector<TokenId>& sentence : text) distinct.push_back(reference.tokens.Distinct(sentence));
  SummaryFigures mean;
  if (reference.sentences) mean.sentence = Scores{};
  const double weight = 1.0 / draws;
  std::vector<std::uint32_t> summary;
  for (int draw = 0; draw < draws; ++draw) {
    const std::vector<std::size_t> chosen = random.Draw(text.size(), count);
    if (reference.sentences) {
      AddScaled(*mean.sentence, SentenceScores(ChosenFlags(chosen, text.size()), *reference.sentences), weight);
    }
    summary.clear();
    for (std::size_t index : chosen) summary.insert(summary.end(), distinct[index].begin(), distinct[index].end());
    const std::vector<Scores> rouge = reference.tokens.RougeAllOfDistinct(summary);
    AddScaled(mean.rouge1, rouge[0], weight);
    AddScaled(mean.rouge2, rouge[1], weight);
    AddScaled(mean.rougeL, rouge.back(), weight);
  }
  return mean;
}

}  // namespace casewright
