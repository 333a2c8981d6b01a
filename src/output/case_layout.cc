#include "output/case_layout.h"

#include "core/spelling.h"

namespace casewright {
namespace {

constexpr Spelling<CaseFormat> kSpellings[] = {
    {CaseFormat::kPlain, "plain"},
    {CaseFormat::kQuinlan, "quinlan"},
    {CaseFormat::kArff, "arff"},
    {CaseFormat::kCsv, "csv"},
};

}  // namespace

std::string_view FormatName(CaseFormat format) { return NameIn<CaseFormat>(kSpellings, format); }

std::optional<CaseFormat> FormatNamed(std::string_view name) { return ValueIn<CaseFormat>(kSpellings, name); }

std::vector<FeatureInfo> TickedFeatures(FeatureSet features) {
  std::vector<FeatureInfo> ticked;
  for (const FeatureInfo& info : kFeatures) {
    if (features.Has(info.feature)) ticked.push_back(info);
  }
  return ticked;
}

std::unique_ptr<CaseLayout> MakeCaseLayout(CaseFormat format) {
  switch (format) {
    case CaseFormat::kPlain:
      return MakePlainLayout();
    case CaseFormat::kQuinlan:
      return MakeQuinlanLayout();
    case CaseFormat::kArff:
      return MakeArffLayout();
    case CaseFormat::kCsv:
      return MakeCsvLayout();
  }
  return MakePlainLayout();
}

}  // namespace casewright
