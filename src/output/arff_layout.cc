// The ARFF layout that Weka reads:
//
//   @relation example
//
//   @attribute size {1,2,3,4}
//   ...                            one nominal attribute per ticked feature
//   @attribute class {1,0}         the class values that occur
//                                  (with raw values: "@attribute size numeric")
//
//   @data
//   3,2,1,1,0,4,2,0,1              LF; an empty class is "?", a missing value
//
// With ids, "@attribute text string" and "@attribute sentence numeric" come
// first, and a case begins "'corpus/texto.txt',12,".
#include <string>

#include "output/separated_layout.h"

namespace casewright {
namespace {

// Any character that ARFF would read as the end of a name or as syntax.
bool NeedsQuotes(std::string_view name) {
  if (name.empty()) return true;
  for (char c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                       c == '-' || c == '.';
    if (!plain) return true;
  }
  return false;
}

// A quoted name keeps every byte but a line break or TAB, which Weka reads
// back from its escape.
std::string Quoted(std::string_view name) {
  if (!NeedsQuotes(name)) return std::string(name);
  std::string quoted = "'";
  for (char c : name) {
    if (c == '\'' || c == '\\') quoted += '\\';
    if (c == '\n' || c == '\r' || c == '\t') {
      quoted += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t";
      continue;
    }
    quoted += c;
  }
  return quoted + "'";
}

// The values of a nominal attribute, as ARFF lists them: "{1,2,3}".
template <typename Values>
std::string Nominal(const Values& values) {
  std::string list = "{";
  for (const auto& value : values) {
    if (list.size() > 1) list += ',';
    list += value;
  }
  return list + "}";
}

class ArffLayout : public SeparatedLayout {
 public:
  ArffLayout() : SeparatedLayout(",", "\n", "?") {}

  std::string Header(const CaseSchema& schema) const override {
    std::string header = "@relation " + Quoted(schema.relation) + "\n\n";
    if (schema.ids) header += "@attribute text string\n@attribute sentence numeric\n";
    for (const FeatureInfo& info : TickedFeatures(schema.features)) {
      const std::string type = schema.values == CaseValues::kRaw ? "numeric" : Nominal(info.codes);
      header += "@attribute " + std::string(info.short_name) + " " + type + "\n";
    }
    header += "@attribute class " + Nominal(schema.class_values) + "\n\n@data\n";
    return header;
  }

  std::string TextField(std::string_view text_name) const override { return Quoted(text_name); }
};

}  // namespace

std::unique_ptr<CaseLayout> MakeArffLayout() { return std::make_unique<ArffLayout>(); }

}  // namespace casewright
