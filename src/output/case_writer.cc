#include "output/case_writer.h"

#include "output/discretize.h"

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
  std::string line;
  for (std::size_t i = 0; i < sentences.size(); ++i) {
    codes.clear();
    AppendTickedCodes(coder.CodesOf(sentences[i]), schema.features, codes);
    line.clear();
    if (schema.ids) layout.AppendIds(text_field, i + 1, line);
    layout.AppendCase(codes, classes.empty() ? layout.MissingClass() : classes[i], line);
    out.Write(line);
    if (copy) copy->append(line);
    run.progress.Advance(i + 1);
  }
  run.progress.End();
}

}  // namespace casewright
