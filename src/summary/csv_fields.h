// The fields of the CSV files the experiments read and write (score files,
// evaluation tables, fold assignments): comma-separated, a field holding a
// comma, a quotation mark or a line break double-quoted, with "" for a
// quotation mark inside, as pandas and Python's csv module write them.
#ifndef CASEWRIGHT_SUMMARY_CSV_FIELDS_H_
#define CASEWRIGHT_SUMMARY_CSV_FIELDS_H_

#include <string>
#include <string_view>
#include <vector>

namespace casewright {

// `field` as a CSV field: as it is, or quoted when it needs to be.
std::string CsvField(std::string_view field);

// The fields of one CSV line, each without the blanks around it.
std::vector<std::string> CsvFields(std::string_view line);

// `s` without the spaces, tabs and carriage returns around it.
std::string_view TrimBlanks(std::string_view s);

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_CSV_FIELDS_H_
