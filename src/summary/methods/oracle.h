// The oracle: the extract a ranker could at best reach against a known
// reference.  It chooses one sentence after another, each time the one whose
// addition gives the summary (in text order) the highest ROUGE-2 F1 against
// the reference, the earlier sentence between equals.  Against an extract,
// it chooses among the reference's own sentences first, and among the
// others once those are all taken.
#ifndef CASEWRIGHT_SUMMARY_METHODS_ORACLE_H_
#define CASEWRIGHT_SUMMARY_METHODS_ORACLE_H_

#include "summary/methods/method.h"

namespace casewright {

class Oracle : public GreedyMethod {
 public:
  std::string Name() const override { return "oracle"; }
  MethodNeeds Needs() const override { return MethodNeeds::kReference; }
  std::vector<std::size_t> Order(const MethodText& text, std::size_t count) const override;
};

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_METHODS_ORACLE_H_
