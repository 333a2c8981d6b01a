// The C4.5 data-file layout: each code followed by a comma and a space, then
// the class, a period and CR LF.
#include "output/case_layout.h"

namespace casewright {
namespace {

class QuinlanLayout : public CaseLayout {
 public:
  void AppendCase(std::string_view codes, std::string_view sentence_class, std::string& out) const override {
    for (char code : codes) {
      out += code;
      out += ", ";
    }
    out += sentence_class;
    out += ".\r\n";
  }
};

}  // namespace

std::unique_ptr<CaseLayout> MakeQuinlanLayout() { return std::make_unique<QuinlanLayout>(); }

}  // namespace casewright
