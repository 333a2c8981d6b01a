// The shape of a model file checked before XGBoost reads it.  XGBoost's JSON
// reader trusts what a model says of itself: a model that counts more trees
// than it holds, or a node whose child lies outside its tree, makes the
// reader or the prediction read out of bounds.  Each such promise is
// checked here against the JSON itself (SQLite's JSON functions), so that a
// damaged or hostile model is refused with a message instead of crashing.
#ifndef CASEWRIGHT_LEARNER_MODEL_CHECK_H_
#define CASEWRIGHT_LEARNER_MODEL_CHECK_H_

#include <optional>
#include <string>
#include <string_view>

namespace casewright {

// What is wrong with `json` as the model of trees `casewright-cli train`
// writes (binary logistic gradient-boosted trees of numeric splits), or
// nothing when XGBoost may read it:
// - it is JSON, of the gbtree booster, with one output group and one target;
// - it counts as many trees as it holds, each with a group of 0;
// - each tree has as many entries in every per-node list as it has nodes;
// - each node's children are both -1 (a leaf) or both nodes after it in the
//   same tree, so that every walk from the root ends at a leaf, and each
//   node's parent a node before it (none for the root);
// - each split reads a feature the model has, and no split is categorical.
std::optional<std::string> ModelFault(std::string_view json);

}  // namespace casewright

#endif  // CASEWRIGHT_LEARNER_MODEL_CHECK_H_
