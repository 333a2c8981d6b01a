// The layouts a case can be written in.  A case is the codes of the ticked
// features, in feature order, then the sentence's class:
//
//   plain     "3 2 1 1 0 4 2 0 1" CR LF       a code and a space each
//   quinlan   "3, 2, 1, 1, 0, 4, 2, 0, 1." CR LF  the C4.5 data-file layout
//   arff      "3,2,1,1,0,4,2,0,1" LF after a header of nominal attributes,
//             an empty class written "?" (Weka)
//   csv       "3,2,1,1,0,4,2,0,1" LF after a header row of the features'
//             short names and "class" (pandas, scikit-learn)
//
// With raw values (ARFF and CSV only, feature_values.h), each code gives
// way to its feature's raw value: "'12,1,3,1,0,0.384615,2.07944,0,1"; the
// ARFF header declares the features numeric, and the CSV header names each
// feature's column with "_raw" after its short name ("size_raw"), so that
// a file of raw values is never taken for one of codes.
//
// With ids (ARFF and CSV only), a case begins with the text's name and the
// sentence's number, from 1: "'corpus/texto.txt',12,3,2,1,1,0,4,2,0,1".
// An unlabelled text's cases end with the layout's missing value ("?", or
// an empty field in CSV).
//
// A layout is one small file that implements CaseLayout; MakeCaseLayout
// maps a format to it.
#ifndef CASEWRIGHT_OUTPUT_CASE_LAYOUT_H_
#define CASEWRIGHT_OUTPUT_CASE_LAYOUT_H_

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/case_values.h"
#include "core/features.h"

namespace casewright {

enum class CaseFormat { kPlain, kQuinlan, kArff, kCsv };

// "plain", "quinlan", "arff" or "csv", as the command line spells them.
std::string_view FormatName(CaseFormat format);
std::optional<CaseFormat> FormatNamed(std::string_view name);

// What a file of cases holds, for layouts that describe it in a header.
struct CaseSchema {
  FeatureSet features;
  // The class values the header declares (class_values.h).
  std::vector<std::string> class_values;
  // What the cases come from (a text's name, a manifest's), for headers
  // that name it.
  std::string relation;
  // Whether each case begins with its text's name and sentence number.
  bool ids = false;
  // Whether the cases hold the features' codes or their raw values.
  CaseValues values = CaseValues::kCodes;
};

// The features `features` holds, in output order.
std::vector<FeatureInfo> TickedFeatures(FeatureSet features);

class CaseLayout {
 public:
  virtual ~CaseLayout() = default;

  // The text before the first case; empty for a layout without a header.
  virtual std::string Header(const CaseSchema& /*schema*/) const { return {}; }

  // Appends one case to `out`: `codes` holds the code digits of the ticked
  // features in feature order.
  virtual void AppendCase(std::string_view codes, std::string_view sentence_class, std::string& out) const = 0;

  // The same for a case of raw values: `values` holds the ticked features'
  // values as written (ValueText), in feature order.
  virtual void AppendValuesCase(const std::vector<std::string>& values, std::string_view sentence_class,
                                std::string& out) const = 0;

  // The class of a case whose text has no classes.
  virtual std::string_view MissingClass() const { return "?"; }

  // A text's name as a field of a case with ids, quoted as the layout needs.
  virtual std::string TextField(std::string_view text_name) const { return std::string(text_name); }

  // Appends the ids that begin a case: `text_field` (from TextField) and the
  // sentence's number.
  virtual void AppendIds(std::string_view text_field, std::size_t sentence, std::string& out) const = 0;
};

std::unique_ptr<CaseLayout> MakePlainLayout();
std::unique_ptr<CaseLayout> MakeQuinlanLayout();
std::unique_ptr<CaseLayout> MakeArffLayout();
std::unique_ptr<CaseLayout> MakeCsvLayout();
std::unique_ptr<CaseLayout> MakeCaseLayout(CaseFormat format);

}  // namespace casewright

#endif  // CASEWRIGHT_OUTPUT_CASE_LAYOUT_H_
