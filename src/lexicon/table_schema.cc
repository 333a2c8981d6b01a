#include "lexicon/table_schema.h"

namespace casewright {

std::string Quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

std::string CreateStatement(const TableSchema& schema) {
  std::string sql = "CREATE TABLE " + Quoted(schema.table) + " (";
  for (std::size_t i = 0; i < schema.columns.size(); ++i) {
    if (i > 0) sql += ", ";
    sql += Quoted(schema.columns[i]) + " TEXT";
    if (i == 0 && schema.keyed) sql += " PRIMARY KEY";
  }
  // A keyed table keeps its rows in the key's own B-tree: a search by key
  // is then one B-tree search instead of two (the key's index, then the
  // rows).  Readers query it as any other table.
  return sql + (schema.keyed ? ") WITHOUT ROWID" : ")");
}

}  // namespace casewright
