// The CSV layout for pandas and scikit-learn: a header row of the ticked
// features' short names and "class", then "3,2,1,1,0,4,2,0,1" LF per case;
// an empty class is an empty field.
#include <string>

#include "output/separated_layout.h"

namespace casewright {
namespace {

class CsvLayout : public SeparatedLayout {
 public:
  CsvLayout() : SeparatedLayout(",", "\n") {}

  std::string Header(const CaseSchema& schema) const override {
    std::string header;
    for (const FeatureInfo& info : TickedFeatures(schema.features)) {
      header += std::string(info.short_name) + ",";
    }
    return header + "class\n";
  }
};

}  // namespace

std::unique_ptr<CaseLayout> MakeCsvLayout() { return std::make_unique<CsvLayout>(); }

}  // namespace casewright
