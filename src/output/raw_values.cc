// Layout of the raw values file.  A header row, then one row per sentence,
// fields separated by TAB, every line ended by LF:
//
//   number  text  word_count  ends_paragraph  text_location
//   paragraph_location  has_keyword  has_gist_word  has_cue_phrase
//   distribution_weight  tf_isf  class
//
// number counts the sentences from 1.  text is the stored sentence text
// (words separated by "#") converted to UTF-8; its words hold
// no TAB, CR or LF, which separate words, so a row stays one line.  The four flags are 1 or 0.  A location not computed
// in the run is empty.  The two real values are written in the shortest
// form that reads back to the same double.
#include "output/raw_values.h"

#include <charconv>
#include <cstddef>
#include <string>
#include <system_error>

#include "core/cp1252.h"

namespace casewright {

namespace {

constexpr char kHeader[] =
    "number\ttext\tword_count\tends_paragraph\ttext_location\tparagraph_location\t"
    "has_keyword\thas_gist_word\thas_cue_phrase\tdistribution_weight\ttf_isf\tclass\n";

void AppendDouble(std::string& row, double value) {
  char digits[32];
  std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, value);
  row.append(digits, result.ptr);
}

void AppendFlag(std::string& row, bool flag) { row += flag ? '1' : '0'; }

std::string Row(std::size_t number, const frase& s, const std::string& stored_text,
                const std::string& sentence_class) {
  std::string row = std::to_string(number);
  row += '\t';
  row += Cp1252ToUtf8(stored_text);
  row += '\t';
  row += std::to_string(s.WordCount);
  row += '\t';
  AppendFlag(row, s.EndsParagraph);
  row += '\t';
  row += s.TextLocation();
  row += '\t';
  row += s.ParagraphLocation();
  row += '\t';
  AppendFlag(row, s.HasKeyword);
  row += '\t';
  AppendFlag(row, s.HasGistWord);
  row += '\t';
  AppendFlag(row, s.HasCuePhrase);
  row += '\t';
  AppendDouble(row, s.DistributionWeight);
  row += '\t';
  AppendDouble(row, s.TfIsf);
  row += '\t';
  row += sentence_class;
  row += '\n';
  return row;
}

}  // namespace

void WriteRawValues(const Run& run, const StoredTextOf& stored_text, const std::vector<std::string>& classes,
                    OutputFile& out) {
  out.Write(kHeader);
  for (std::size_t i = 0; i < run.sentence_list.size(); ++i) {
    const frase& sentence = run.sentence_list[i];
    out.Write(Row(i + 1, sentence, stored_text(sentence), classes[i]));
  }
}

}  // namespace casewright
