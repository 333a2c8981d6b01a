#include "summary/methods/registry.h"

#include <charconv>
#include <functional>

#include "summary/methods/feature_value.h"
#include "summary/methods/lexrank.h"
#include "summary/methods/lsa.h"
#include "summary/methods/luhn.h"
#include "summary/methods/oracle.h"
#include "summary/methods/sumbasic.h"
#include "summary/methods/textrank.h"

namespace casewright {
namespace {

constexpr std::string_view kFeaturePrefix = "feature:";

struct Entry {
  MethodInfo info;
  std::function<std::unique_ptr<SummaryMethod>()> make;  // null for feature:N
};

const std::vector<Entry>& Table() {
  static const std::vector<Entry> table = {
      {{"textrank", "PageRank of the graph of shared tokens"}, [] { return std::make_unique<TextRank>(); }},
      {{"lexrank", "PageRank of the graph of TF-ISF cosines of at least 0.1"},
       [] { return std::make_unique<LexRank>(false); }},
      {{"lexrank-continuous", "PageRank of the graph weighted by TF-ISF cosines"},
       [] { return std::make_unique<LexRank>(true); }},
      {{"luhn", "the densest cluster of significant words"}, [] { return std::make_unique<Luhn>(); }},
      {{"sumbasic", "mean word probability, chosen greedily"}, [] { return std::make_unique<SumBasic>(); }},
      {{"lsa", "length in the latent space of the term-by-sentence matrix"}, [] { return std::make_unique<Lsa>(); }},
      {{"feature:N", "the raw value of feature N (1 to 16)"}, nullptr},
      {{"oracle", "the greedy best ROUGE-2 against the reference"}, [] { return std::make_unique<Oracle>(); }},
  };
  return table;
}

}  // namespace

const std::vector<MethodInfo>& Methods() {
  static const std::vector<MethodInfo> methods = [] {
    std::vector<MethodInfo> infos;
    for (const Entry& entry : Table()) infos.push_back(entry.info);
    return infos;
  }();
  return methods;
}

int FeatureMethodNumber(std::string_view name) {
  if (!name.starts_with(kFeaturePrefix)) return 0;
  const std::string_view digits = name.substr(kFeaturePrefix.size());
  int number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  const bool whole = error == std::errc() && end == digits.data() + digits.size() && digits[0] != '0';
  return whole && number >= 1 && number <= kFeatureCount ? number : 0;
}

std::unique_ptr<SummaryMethod> MakeMethod(std::string_view name) {
  if (name.starts_with(kFeaturePrefix)) {
    const int number = FeatureMethodNumber(name);
    return number == 0 ? nullptr : std::make_unique<FeatureValue>(number);
  }
  for (const Entry& entry : Table()) {
    if (entry.make && entry.info.name == name) return entry.make();
  }
  return nullptr;
}

std::string MethodNames() {
  std::string names;
  for (const MethodInfo& method : Methods()) names += (names.empty() ? "" : ", ") + std::string(method.name);
  return names;
}

}  // namespace casewright
