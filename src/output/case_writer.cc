#include "output/case_writer.h"

#include <unordered_set>

#include "output/discretize.h"

namespace casewright {

std::vector<std::string> ClassValues(const std::vector<std::string>& classes) {
  std::vector<std::string> values;
  std::unordered_set<std::string_view> seen;
  const std::string* previous = nullptr;
  for (const std::string& c : classes) {
    // Runs of one class are the rule: a class equal to the one before it is
    // known without hashing it.
    if (!c.empty() && !(previous && c == *previous) && seen.insert(c).second) values.push_back(c);
    previous = &c;
  }
  return values;
}

void WriteCases(Run& run, const CaseSchema& schema, const CaseLayout& layout, const std::vector<std::string>& classes,
                OutputFile& out, std::string* copy) {
  const SentenceList& sentences = run.sentence_list;
  out.Write(layout.Header(schema));
  if (sentences.empty()) return;
  const CaseCoder coder(sentences);
  run.progress.Begin(RunStage::kWrite, sentences.size());
  std::string codes;
  std::string line;
  for (std::size_t i = 0; i < sentences.size(); ++i) {
    const FeatureCodes all = coder.CodesOf(sentences[i]);
    codes.clear();
    for (const FeatureInfo& info : kFeatures) {
      if (schema.features.Has(info.feature)) codes += all[static_cast<int>(info.feature)];
    }
    line.clear();
    layout.AppendCase(codes, classes[i], line);
    out.Write(line);
    if (copy) copy->append(line);
    run.progress.Advance(i + 1);
  }
  run.progress.End();
}

}  // namespace casewright
