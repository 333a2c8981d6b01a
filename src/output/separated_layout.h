// The line of a case in every layout: each code followed by a separator,
// then the class and the line's ending.  The layouts differ in these
// strings, in what stands for an empty class, and in their header.
#ifndef CASEWRIGHT_OUTPUT_SEPARATED_LAYOUT_H_
#define CASEWRIGHT_OUTPUT_SEPARATED_LAYOUT_H_

#include <string>
#include <string_view>

#include "output/case_layout.h"

namespace casewright {

class SeparatedLayout : public CaseLayout {
 public:
  SeparatedLayout(std::string_view separator, std::string_view ending, std::string_view empty_class = {})
      : separator_(separator), ending_(ending), empty_class_(empty_class) {}

  void AppendCase(std::string_view codes, std::string_view sentence_class, std::string& out) const override;
  void AppendValuesCase(const std::vector<std::string>& values, std::string_view sentence_class,
                        std::string& out) const override;
  void AppendIds(std::string_view text_field, std::size_t sentence, std::string& out) const override;

 private:
  std::string_view separator_;
  std::string_view ending_;
  std::string_view empty_class_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_OUTPUT_SEPARATED_LAYOUT_H_
