// The two layouts without a header: each code followed by a separator, then
// the class and the line's ending.
//   plain     "3 2 1 1 0 4 2 0 1" CR LF
//   quinlan   "3, 2, 1, 1, 0, 4, 2, 0, 1." CR LF (the C4.5 data-file layout)
#include "output/case_layout.h"

namespace casewright {
namespace {

class SeparatedLayout : public CaseLayout {
 public:
  SeparatedLayout(std::string_view separator, std::string_view ending) : separator_(separator), ending_(ending) {}

  void AppendCase(std::string_view codes, std::string_view sentence_class, std::string& out) const override {
    for (char code : codes) {
      out += code;
      out += separator_;
    }
    out += sentence_class;
    out += ending_;
  }

 private:
  std::string_view separator_;
  std::string_view ending_;
};

}  // namespace

std::unique_ptr<CaseLayout> MakePlainLayout() { return std::make_unique<SeparatedLayout>(" ", "\r\n"); }

std::unique_ptr<CaseLayout> MakeQuinlanLayout() { return std::make_unique<SeparatedLayout>(", ", ".\r\n"); }

}  // namespace casewright
