// The plain layout: each code followed by a space, then the class and CR LF.
#include "output/case_layout.h"

namespace casewright {
namespace {

class PlainLayout : public CaseLayout {
 public:
  void AppendCase(std::string_view codes, std::string_view sentence_class, std::string& out) const override {
    for (char code : codes) {
      out += code;
      out += ' ';
    }
    out += sentence_class;
    out += "\r\n";
  }
};

}  // namespace

std::unique_ptr<CaseLayout> MakePlainLayout() { return std::make_unique<PlainLayout>(); }

}  // namespace casewright
