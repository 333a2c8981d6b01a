#include "lexicon/table_messages.h"

#include "core/cp1252.h"

namespace casewright {

RunError MissingCanonicalForm(const std::string& word, const std::string& table_path) {
  return RunError("Invalid variant type conversion: the lexicon entry \"" + Cp1252ToUtf8(word) +
                      "\" has no \"Can\xC3\xB4nica\" value",
                  table_path);
}

RunError UnrepresentableCanonicalForm(const std::string& word, const std::string& stored,
                                      const std::string& table_path) {
  return RunError("the lexicon entry \"" + Cp1252ToUtf8(word) + "\" has the canonical form \"" + stored +
                      "\", which cannot be written in Windows-1252",
                  table_path);
}

}  // namespace casewright
