// The two layouts without a header:
//   plain     "3 2 1 1 0 4 2 0 1" CR LF
//   quinlan   "3, 2, 1, 1, 0, 4, 2, 0, 1." CR LF (the C4.5 data-file layout)
#include "output/separated_layout.h"

#include <string>

namespace casewright {

void SeparatedLayout::AppendCase(std::string_view codes, std::string_view sentence_class, std::string& out) const {
  for (char code : codes) {
    out += code;
    out += separator_;
  }
  out += sentence_class.empty() ? empty_class_ : sentence_class;
  out += ending_;
}

void SeparatedLayout::AppendValuesCase(const std::vector<std::string>& values, std::string_view sentence_class,
                                       std::string& out) const {
  for (const std::string& value : values) {
    out += value;
    out += separator_;
  }
  out += sentence_class.empty() ? empty_class_ : sentence_class;
  out += ending_;
}

void SeparatedLayout::AppendIds(std::string_view text_field, std::size_t sentence, std::string& out) const {
  out += text_field;
  out += separator_;
  out += std::to_string(sentence);
  out += separator_;
}

std::unique_ptr<CaseLayout> MakePlainLayout() { return std::make_unique<SeparatedLayout>(" ", "\r\n"); }

std::unique_ptr<CaseLayout> MakeQuinlanLayout() { return std::make_unique<SeparatedLayout>(", ", ".\r\n"); }

}  // namespace casewright
