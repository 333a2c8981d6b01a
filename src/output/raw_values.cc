// Layout of the raw values file.  A header row, then one row per sentence,
// fields separated by TAB, every line ended by LF:
//
//   number  text  word_count  ends_paragraph  text_location
//   paragraph_location  has_keyword  has_gist_word  has_cue_phrase
//   distribution_weight  tf_isf  class
//
// number counts the sentences from 1.  text is the stored sentence text
// (words separated by "#") converted to UTF-8; its words hold
// no TAB, CR or LF, which separate words, so a row stays one line.  The
// four flags are 1 or 0.  A location not computed in the run is empty.  The
// two real values are written in the shortest form that reads back to the
// same double.
//
// Each ticked feature from 9 on adds a column named by its short name
// (core/features.h), in feature order, before class: so a run of the
// default features writes the columns above and nothing else.  Its value is
// the feature's raw value as feature:N ranks by it (core/feature_values.h): flags 1
// or 0, paragraph_position 3 (begin), 2 (middle) or 1 (end), the others the
// number itself, in the same shortest form.
#include "output/raw_values.h"

#include <charconv>
#include <cstddef>
#include <string>
#include <system_error>

#include "core/cp1252.h"
#include "core/feature_values.h"

namespace casewright {

namespace {

constexpr char kHeader[] =
    "number\ttext\tword_count\tends_paragraph\ttext_location\tparagraph_location\t"
    "has_keyword\thas_gist_word\thas_cue_phrase\tdistribution_weight\ttf_isf\t";

// The features beyond the default ones that have a column of their own.
std::vector<const FeatureInfo*> ExtraColumns(FeatureSet features) {
  std::vector<const FeatureInfo*> extra;
  for (int k = kDefaultFeatureCount; k < kFeatureCount; ++k) {
    if (features.Has(kFeatures[k].feature)) extra.push_back(&kFeatures[k]);
  }
  return extra;
}

void AppendDouble(std::string& row, double value) {
  char digits[32];
  std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, value);
  row.append(digits, result.ptr);
}

void AppendFlag(std::string& row, bool flag) { row += flag ? '1' : '0'; }

std::string Row(std::size_t number, const frase& s, const std::string& stored_text,
                const std::vector<const FeatureInfo*>& extra, const std::string& sentence_class) {
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
  for (const FeatureInfo* info : extra) {
    AppendDouble(row, RawValue(s, info->feature));
    row += '\t';
  }
  row += sentence_class;
  row += '\n';
  return row;
}

}  // namespace

void WriteRawValues(const Run& run, const StoredTextOf& stored_text, FeatureSet features,
                    const std::vector<std::string>& classes, OutputFile& out) {
  const std::vector<const FeatureInfo*> extra = ExtraColumns(features);
  std::string header = kHeader;
  for (const FeatureInfo* info : extra) header += std::string(info->short_name) + '\t';
  out.Write(header + "class\n");
  for (std::size_t i = 0; i < run.sentence_list.size(); ++i) {
    const frase& sentence = run.sentence_list[i];
    out.Write(Row(i + 1, sentence, stored_text(sentence), extra, classes[i]));
  }
}

}  // namespace casewright
