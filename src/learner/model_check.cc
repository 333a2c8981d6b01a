#include "learner/model_check.h"

#include <sqlite3.h>

#include <memory>

namespace casewright {
namespace {

// Each rule is a query of the model (?1) that gives 1 when the model keeps
// the promise and anything else (0, NULL) when it breaks it.  Lists that are
// missing or of the wrong type break the promise too: their lengths and
// values come out NULL.
struct Rule {
  const char* query;
  const char* fault;
};

#define CW_MODEL "'$.learner.gradient_booster.model"
#define CW_TREES                                                                             \
  "WITH tree(v, n) AS (SELECT value, CAST(json_extract(value, '$.tree_param.num_nodes') AS " \
  "INTEGER) FROM json_each(?1, " CW_MODEL ".trees')) "
#define CW_FEATURES "CAST(json_extract(?1, '$.learner.learner_model_param.num_feature') AS INTEGER)"

constexpr Rule kRules[] = {
    {"SELECT json_valid(?1)", "not the JSON of an XGBoost model"},
    {"SELECT json_extract(?1, '$.learner.gradient_booster.name') = 'gbtree' "
     "AND json_extract(?1, '$.learner.objective.name') = 'binary:logistic' "
     "AND CAST(json_extract(?1, '$.learner.learner_model_param.num_class') AS INTEGER) = 0 "
     "AND coalesce(CAST(json_extract(?1, '$.learner.learner_model_param.num_target') AS INTEGER), 1) = 1 "
     "AND CAST(json_extract(?1, " CW_MODEL ".gbtree_model_param.num_parallel_tree') AS INTEGER) = 1",
     "not binary logistic trees of one output"},
    {"SELECT " CW_FEATURES " >= 1 "
     "AND coalesce(json_array_length(?1, '$.learner.feature_names'), 0) IN (0, " CW_FEATURES ") "
     "AND coalesce(json_array_length(?1, '$.learner.feature_types'), 0) IN (0, " CW_FEATURES ")",
     "its features do not agree with their names"},
    {"SELECT json_type(?1, " CW_MODEL ".trees') = 'array' "
     "AND CAST(json_extract(?1, " CW_MODEL ".gbtree_model_param.num_trees') AS INTEGER) = "
     "json_array_length(?1, " CW_MODEL ".trees') "
     "AND json_array_length(?1, " CW_MODEL ".tree_info') = json_array_length(?1, " CW_MODEL ".trees') "
     "AND NOT EXISTS (SELECT 1 FROM json_each(?1, " CW_MODEL ".tree_info') WHERE atom IS NOT 0) "
     "AND NOT EXISTS (SELECT 1 FROM json_each(?1, " CW_MODEL ".trees') WHERE json_extract(value, '$.id') IS NOT key)",
     "it counts other trees than it holds"},
    {"SELECT NOT EXISTS (" CW_TREES
     "SELECT 1 FROM tree WHERE coalesce(n >= 1 "
     "AND json_array_length(v, '$.left_children') = n AND json_array_length(v, '$.right_children') = n "
     "AND json_array_length(v, '$.parents') = n AND json_array_length(v, '$.split_indices') = n "
     "AND json_array_length(v, '$.split_conditions') = n AND json_array_length(v, '$.split_type') = n "
     "AND json_array_length(v, '$.default_left') = n AND json_array_length(v, '$.base_weights') = n "
     "AND json_array_length(v, '$.loss_changes') = n AND json_array_length(v, '$.sum_hessian') = n "
     "AND coalesce(json_array_length(v, '$.categories_nodes'), 0) = 0 "
     "AND coalesce(json_array_length(v, '$.categories_segments'), 0) = 0 "
     "AND coalesce(json_array_length(v, '$.categories_sizes'), 0) = 0 "
     "AND coalesce(json_array_length(v, '$.categories'), 0) = 0 "
     "AND coalesce(CAST(json_extract(v, '$.tree_param.size_leaf_vector') AS INTEGER), 0) = 0, 0) = 0)",
     "a tree's lists do not have one entry per node"},
    {"SELECT NOT EXISTS (" CW_TREES
     "SELECT 1 FROM tree, json_each(tree.v, '$.left_children') AS l "
     "JOIN json_each(tree.v, '$.right_children') AS r ON r.key = l.key "
     "WHERE coalesce(l.type = 'integer' AND r.type = 'integer' AND ((l.atom = -1 AND r.atom = -1) OR "
     "(l.atom > l.key AND l.atom < tree.n AND r.atom > l.key AND r.atom < tree.n)), 0) = 0)",
     "a node's children are not nodes after it in its tree"},
    {"SELECT NOT EXISTS (" CW_TREES
     "SELECT 1 FROM tree, json_each(tree.v, '$.parents') AS p "
     "WHERE coalesce(p.type = 'integer' AND ((p.key = 0 AND p.atom IN (-1, 2147483647)) OR "
     "(p.key > 0 AND p.atom >= 0 AND p.atom < p.key)), 0) = 0)",
     "a node's parent is not a node before it in its tree"},
    {"SELECT NOT EXISTS (" CW_TREES
     "SELECT 1 FROM tree, json_each(tree.v, '$.split_indices') AS s "
     "WHERE coalesce(s.type = 'integer' AND s.atom >= 0 AND s.atom < " CW_FEATURES ", 0) = 0) "
     "AND NOT EXISTS (" CW_TREES "SELECT 1 FROM tree, json_each(tree.v, '$.split_type') AS s WHERE s.atom IS NOT 0)",
     "a split reads a feature the model does not have"},
};

#undef CW_MODEL
#undef CW_TREES
#undef CW_FEATURES

struct CloseDatabase {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct FinalizeStatement {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

// Whether `rule` holds for `json`; false when SQLite cannot tell.
bool Holds(sqlite3* db, const Rule& rule, std::string_view json) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, rule.query, -1, &raw, nullptr) != SQLITE_OK) return false;
  const std::unique_ptr<sqlite3_stmt, FinalizeStatement> statement(raw);
  sqlite3_bind_text64(raw, 1, json.data(), json.size(), SQLITE_STATIC, SQLITE_UTF8);
  return sqlite3_step(raw) == SQLITE_ROW && sqlite3_column_type(raw, 0) == SQLITE_INTEGER &&
         sqlite3_column_int(raw, 0) == 1;
}

}  // namespace

std::optional<std::string> ModelFault(std::string_view json) {
  sqlite3* raw = nullptr;
  if (sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(raw);
    return "its shape could not be checked (SQLite opens no database)";
  }
  const std::unique_ptr<sqlite3, CloseDatabase> db(raw);
  for (const Rule& rule : kRules) {
    if (!Holds(db.get(), rule, json)) return rule.fault;
  }
  return std::nullopt;
}

}  // namespace casewright
