#include "experiment/corpus_cases.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <map>
#include <thread>
#include <unordered_map>

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
  run.values = settings.values;
  run.encoding = settings.encoding;
  run.segmented = settings.segmented;
  run.strict_classes = settings.strict_classes;
  if (!entry.extract_path.empty()) {
    run.extract = settings.extract;
    run.extract.path = entry.extract_path;
  }
  return run;
}

// Appends sentence `s` of `text` to `rows`: its raw values when the text
// holds them, else its codes.
void AppendRow(const TextCases& text, std::size_t s, CodeRows& rows) {
  if (text.values.empty()) {
    AppendCodeRow(text.codes[s], rows);
  } else {
    AppendValueRow(text.values[s], rows);
  }
}

std::string LineOf(const std::string& manifest, const ManifestEntry& entry) {
  return manifest + ":" + std::to_string(entry.line);
}

void RefuseRepeatedTexts(const std::vector<ManifestEntry>& entries, const std::string& manifest) {
  PathNormalizer files;
  std::unordered_map<std::string, const ManifestEntry*> first_naming;
  for (const ManifestEntry& entry : entries) {
    if (entry.text_path == "-") continue;  // the manifest refuses standard input twice
    const auto [place, added] = first_naming.emplace(files.KeyOf(entry.text_path), &entry);
    if (!added) {
      throw RunError("The text is the same file as the text of line " + std::to_string(place->second->line) + " (" +
                         place->second->text_path + "); a text may stand in the manifest once",
                     LineOf(manifest, entry));
    }
  }
}

}  // namespace

void RefuseCorpusFiles(const std::vector<ManifestEntry>& entries, const std::string& manifest,
                       const LexicalTables& tables, const std::vector<RunFile>& outputs) {
  RefuseRepeatedTexts(entries, manifest);
  std::vector<RunFile> files = {{manifest, "manifest", false}};
  for (const ManifestEntry& entry : entries) {
    const std::string line = " of line " + std::to_string(entry.line);
    files.push_back({entry.text_path, "text" + line, false});
    files.push_back({entry.classes_path, "classes file" + line, false});
    files.push_back({entry.extract_path, "extract" + line, false});
  }
  AddTableFiles(files, tables);
  files.insert(files.end(), outputs.begin(), outputs.end());
  RefuseSharedFiles(files);
}

CorpusMessages MessagesOf(const std::vector<ManifestEntry>& entries, const CorpusCases& corpus,
                          const std::string& manifest) {
  CorpusMessages messages;
  std::map<std::string, std::size_t> texts_of_note;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string where = LineOf(manifest, entries[i]) + ": ";
    for (const std::string& warning : corpus.texts[i].warnings) messages.warnings.push_back(where + warning);
    for (const std::string& note : corpus.texts[i].notes) ++texts_of_note[note];
  }
  for (const auto& [note, count] : texts_of_note) {
    messages.notes.push_back(std::to_string(count) + (count == 1 ? " text: " : " texts: ") + note);
  }
  return messages;
}

CorpusCases ComputeCorpusCases(const std::vector<ManifestEntry>& entries, const CorpusSettings& settings,
                               const LexicalTables& tables, const std::string& manifest) {
  CorpusCases corpus;
  corpus.texts.resize(entries.size());
  std::vector<std::exception_ptr> failures(entries.size());
  std::atomic<std::size_t> next = 0;
  auto work = [&] {
    for (std::size_t i = next++; i < entries.size(); i = next++) {
      try {
        corpus.texts[i] = ComputeCases(RunSettingsOf(entries[i], settings), tables,
                                        settings.with_tokens ? &settings.tokens : nullptr);
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
      throw RunError(DescribeError(e), LineOf(manifest, entries[i]));
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
      AppendRow(text, s, set.rows);
      const bool positive = text.classes[s] == "1";
      set.labels.push_back(positive ? 1.0f : 0.0f);
      set.positives += positive;
    }
  }
  return set;
}

CodeRows RowsOf(const TextCases& text, FeatureSet features) {
  CodeRows rows{WidthOf(features), {}};
  for (std::size_t s = 0; s < text.codes.size(); ++s) AppendRow(text, s, rows);
  return rows;
}

}  // namespace casewright
