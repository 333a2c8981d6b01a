// Test helper: builds the lists of a Run by hand, as segmentation would
// leave them, so that each stage can be tested on sentences given as keys.
#ifndef CASEWRIGHT_TESTING_RUN_BUILDER_H_
#define CASEWRIGHT_TESTING_RUN_BUILDER_H_

#include <cstdint>
#include <string>
#include <vector>

#include "core/run.h"
#include "testing/memory_tables.h"

namespace casewright::testing {

// A Run over its own tables, with no progress callback.
struct TestRun {
  explicit TestRun(MemoryTables tables_in = MemoryTables()) : tables(std::move(tables_in)) {}
  // The Run refers to the tables, so a copy would refer to the original's.
  TestRun(const TestRun&) = delete;
  TestRun& operator=(const TestRun&) = delete;

  // Appends a sentence whose words have the given keys, counting each key in
  // the WordTable.  The sentence has no span of a text.
  void AddSentence(const std::vector<std::string>& keys, bool ends_paragraph = false) {
    frase sentence;
    sentence.FirstWord = static_cast<std::uint32_t>(run.sentence_words.size());
    for (const std::string& key : keys) run.sentence_words.push_back(run.word_table.Count(key));
    sentence.WordCount = static_cast<std::int32_t>(keys.size());
    sentence.EndsParagraph = ends_paragraph;
    run.sentence_list.push_back(std::move(sentence));
  }

  WordId Id(const std::string& key) const { return *run.word_table.Find(key); }

  MemoryTables tables;
  Run run{tables, {}};
};

// The value of `flag` for each sentence of the run, in order.
inline std::vector<bool> SentenceFlags(const Run& run, bool frase::*flag) {
  std::vector<bool> flags;
  for (const frase& sentence : run.sentence_list) flags.push_back(sentence.*flag);
  return flags;
}

// The keys of a word list (the gist words, the keywords), in order.
inline std::vector<std::string> ListedKeys(const Run& run, const std::vector<palavraskg>& list) {
  std::vector<std::string> keys;
  for (const palavraskg& entry : list) keys.push_back(run.word_table[entry.Word].Word);
  return keys;
}

}  // namespace casewright::testing

#endif  // CASEWRIGHT_TESTING_RUN_BUILDER_H_
