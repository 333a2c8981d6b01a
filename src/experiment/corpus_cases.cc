#include "experiment/corpus_cases.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>

#include "core/run_error.h"
#include "output/class_values.h"

namespace casewright {
namespace {

std::size_t WidthOf(FeatureSet features) {
  return std::count_if(kFeatures.begin(), kFeatures.end(),
                       [features](const FeatureInfo& info) { return features.Has(info.feature); });
}

RunSettings RunSettingsOf(const ManifestEntry& entry, const CorpusSettings& settings) {
  RunSettings run;
  run.text_path = entry.text_path;
  run.classes_path = entry.classes_path;
  run.features = settings.features;
  run.encoding = settings.encoding;
  run.strict_classes = settings.strict_classes;
  if (!entry.extract_path.empty()) {
    run.extract = settings.extract;
    run.extract.path = entry.extract_path;
  }
  return run;
}

}  // namespace

CorpusCases ComputeCorpusCases(const std::vector<ManifestEntry>& entries, const CorpusSettings& settings,
                               const LexicalTables& tables, const std::string& manifest) {
  CorpusCases corpus;
  corpus.texts.resize(entries.size());
  std::vector<std::exception_ptr> failures(entries.size());
  std::atomic<std::size_t> next = 0;
  auto work = [&] {
    for (std::size_t i = next++; i < entries.size(); i = next++) {
      try {
        corpus.texts[i] = ComputeCases(RunSettingsOf(entries[i], settings), tables, settings.with_tokens);
      } catch (...) {
        failures[i] = std::current_exception();
      }
    }
  };
  std::vector<std::jthread> workers;
  const unsigned threads = std::clamp<std::size_t>(settings.jobs, 1, std::max<std::size_t>(entries.size(), 1));
  for (unsigned t = 1; t < threads; ++t) workers.emplace_back(work);
  work();
  workers.clear();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!failures[i]) continue;
    try {
      std::rethrow_exception(failures[i]);
    } catch (const std::exception& e) {
      throw RunError(DescribeError(e), manifest + ":" + std::to_string(entries[i].line));
    }
  }
  std::vector<std::string> classes;
  for (const TextCases& text : corpus.texts) classes.insert(classes.end(), text.classes.begin(), text.classes.end());
  corpus.class_values = ClassValues(classes);
  return corpus;
}

TrainingSet TrainingSetOf(const CorpusCases& corpus, const std::vector<std::size_t>& chosen, FeatureSet features) {
  TrainingSet set;
  set.rows.width = WidthOf(features);
  for (std::size_t i : chosen) {
    const TextCases& text = corpus.texts[i];
    for (std::size_t s = 0; s < text.codes.size(); ++s) {
      if (text.classes[s].empty()) continue;
      AppendCodeRow(text.codes[s], set.rows);
      const bool positive = text.classes[s] == "1";
      set.labels.push_back(positive ? 1.0f : 0.0f);
      set.positives += positive;
    }
  }
  return set;
}

CodeRows RowsOf(const TextCases& text, FeatureSet features) {
  CodeRows rows{WidthOf(features), {}};
  for (const std::string& codes : text.codes) AppendCodeRow(codes, rows);
  return rows;
}

}  // namespace casewright
