#include "experiment/corpus_references.h"

#include "core/run_error.h"

namespace casewright {

void RequireReferences(const std::vector<ManifestEntry>& entries, const CorpusCases& corpus,
                       const std::string& manifest) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    for (const std::string& c : corpus.texts[i].classes) {
      if (c.empty()) {
        throw RunError("The text has sentences without a class: crossval needs every sentence's class, from a "
                       "classes file or an extract",
                       manifest + ":" + std::to_string(entries[i].line));
      }
    }
  }
}

}  // namespace casewright
