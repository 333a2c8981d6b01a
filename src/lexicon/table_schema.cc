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
  return sql + ")";
}

}  // namespace casewright
