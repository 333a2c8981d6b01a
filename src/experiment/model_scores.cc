#include "experiment/model_scores.h"

#include <utility>

#include "experiment/corpus_cases.h"
#include "learner/sentence_model.h"

namespace casewright {

std::vector<double> ModelScoresOfText(const std::string& model_path, RunSettings run, DecodedText text,
                                      const LexicalTables& tables) {
  const SentenceModel model = SentenceModel::Load(model_path);
  run.features = model.features();
  run.values = model.values();
  return model.Probabilities(RowsOf(CasesOfLoadedText(run, std::move(text), tables), model.features()));
}

}  // namespace casewright
