#include "output/case_writer.h"

#include "output/discretize.h"
#include "output/feature_values.h"

namespace casewright {

void WriteCases(Run& run, const CaseSchema& schema, const CaseLayout& layout, const std::vector<std::string>& classes,
                std::string_view text_name, OutputFile& out, std::string* copy) {
  const SentenceList& sentences = run.sentence_list;
  out.Write(layout.Header(schema));
  if (sentences.empty()) return;
  const CaseCoder coder(sentences);
  run.progress.Begin(RunStage::kWrite, sentences.size());
  const std::string text_field = schema.ids ? layout.TextField(text_name) : std::string();
  std::string codes;
  std::vector<double> values;
  std::vector<std::string> value_texts;
  std::string line;
  for (std::size_t i = 0; i < sentences.size(); ++i) {
    const FeatureCodes all = coder.CodesOf(sentences[i]);
    const std::string_view sentence_class = classes.empty() ? layout.MissingClass() : classes[i];
    line.clear();
    if (schema.ids) layout.AppendIds(text_field, i + 1, line);
    if (schema.values == CaseValues::kRaw) {
      values.clear();
      AppendTickedValues(sentences[i], all, schema.features, values);
      value_texts.clear();
      for (double value : values) value_texts.push_back(ValueText(value));
      layout.AppendValuesCase(value_texts, sentence_class, line);
    } else {
      codes.clear();
      AppendTickedCodes(all, schema.features, codes);
      layout.AppendCase(codes, sentence_class, line);
    }
    out.Write(line);
    if (copy) copy->append(line);
    run.progress.Advance(i + 1);
  }
  run.progress.End();
}

}  // namespace casewright
