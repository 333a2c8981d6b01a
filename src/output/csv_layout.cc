// The CSV layout for pandas and scikit-learn: a header row of the ticked
// features' short names and "class", then "3,2,1,1,0,4,2,0,1" LF per case;
// an empty class is an empty field.  With ids, the row begins with the
// columns "text" and "sentence"; with raw values, each feature's column is
// named "<short name>_raw" (case_layout.h); a text's name with a comma, a double quote
// or a line break is quoted as RFC 4180 says.
#include <string>

#include "output/separated_layout.h"

namespace casewright {
namespace {

class CsvLayout : public SeparatedLayout {
 public:
  CsvLayout() : SeparatedLayout(",", "\n") {}

  std::string Header(const CaseSchema& schema) const override {
    std::string header = schema.ids ? "text,sentence," : "";
    for (const FeatureInfo& info : TickedFeatures(schema.features)) {
      header += ColumnName(info, schema.values) + ",";
    }
    return header + "class\n";
  }

  std::string_view MissingClass() const override { return ""; }

  std::string TextField(std::string_view text_name) const override {
    if (text_name.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text_name);
    std::string quoted = "\"";
    for (char c : text_name) {
      if (c == '"') quoted += '"';
      quoted += c;
    }
    return quoted + "\"";
  }
};

}  // namespace

std::unique_ptr<CaseLayout> MakeCsvLayout() { return std::make_unique<CsvLayout>(); }

}  // namespace casewright
