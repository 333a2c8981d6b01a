#include "output/case_layout.h"

namespace casewright {

std::unique_ptr<CaseLayout> MakeCaseLayout(CaseFormat format) {
  switch (format) {
    case CaseFormat::kPlain:
      return MakePlainLayout();
    case CaseFormat::kQuinlan:
      return MakeQuinlanLayout();
  }
  return MakePlainLayout();
}

}  // namespace casewright
