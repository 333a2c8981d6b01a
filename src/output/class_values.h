// The class values a file of cases declares: the ARFF header's class
// attribute and the first line of the C4.5 names file.
//
// Without a declared list, a file declares the values its cases hold, in
// ascending order, so that two texts with the same values get the same
// header whatever sentence comes first.  Classes are runs of digits and are
// compared as numbers (2 before 10); two spellings of one number (01 and 1)
// come in byte order.  A declared list (`--class-values 0,1`) fixes the
// values and their order, so that the header of a held-out text's file
// equals the training file's even when its cases hold only some of the
// values, or none (an unlabelled text).
#ifndef CASEWRIGHT_OUTPUT_CLASS_VALUES_H_
#define CASEWRIGHT_OUTPUT_CLASS_VALUES_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace casewright {

// Every class value of `classes` but the empty one, once, in ascending
// order.
std::vector<std::string> ClassValues(const std::vector<std::string>& classes);

// What a file declares: `declared` when not empty, else
// ClassValues(classes).
std::vector<std::string> DeclaredClassValues(const std::vector<std::string>& declared,
                                             const std::vector<std::string>& classes);

// Parses a declared list, "0,1": values separated by commas, each a run of
// digits, none twice.  Throws std::invalid_argument saying what is wrong.
std::vector<std::string> ParseClassValues(std::string_view list);

// The values joined by commas, as ParseClassValues reads them.
std::string ClassValueList(const std::vector<std::string>& values);

// The index of the first class of `classes` that is neither empty nor one of
// `declared`; none when `declared` is empty (nothing was declared).
std::optional<std::size_t> FirstUndeclaredClass(const std::vector<std::string>& classes,
                                                const std::vector<std::string>& declared);

}  // namespace casewright

#endif  // CASEWRIGHT_OUTPUT_CLASS_VALUES_H_
