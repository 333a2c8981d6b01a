// Building the three lexical tables from plain UTF-8 files, so that the
// tables can be made, checked and versioned as text:
//
//   lexicon    one entry a line: form<TAB>canonical form; "\N" as the
//              canonical form stands for a missing one (NULL)
//   stoplist   one stopword a line
//   cue words  one cue word a line, kept in file order
//
// In all three, blank lines and lines starting with "#" are skipped ("#" is
// a separator, so it never belongs to a word), and a CR before the line end
// is dropped.  A UTF-8 byte-order mark at the start of a file is skipped.
#ifndef CASEWRIGHT_LEXICON_TABLE_BUILDER_H_
#define CASEWRIGHT_LEXICON_TABLE_BUILDER_H_

#include <cstddef>
#include <string>

namespace casewright {

// The largest source file: far more than any lexicon, yet an endless file
// (/dev/zero) fails at once instead of filling the memory.
inline constexpr std::size_t kMaxSourceBytes = std::size_t{256} << 20;

struct TableSources {
  std::string lexicon;
  std::string stoplist;
  std::string cue_words;
};

struct TableCounts {
  std::size_t lexicon = 0;
  std::size_t stoplist = 0;
  std::size_t cue_words = 0;
};

// Writes Léxico.db, Stoplist.db and Cuephrases.db into `folder` (created
// when missing), replacing them only once all three are complete; a failed
// build leaves no file of its own behind; a table that is replaced keeps
// its owner, group and permissions as far as the process may give them.
// Throws RunError naming the file and line of a malformed line (invalid
// UTF-8, a lexicon line without a tab, a form or stopword given twice),
// naming a source that goes on past kMaxSourceBytes, and naming a source
// that is one of the tables to write.
TableCounts BuildTables(const TableSources& sources, const std::string& folder);

}  // namespace casewright

#endif  // CASEWRIGHT_LEXICON_TABLE_BUILDER_H_
