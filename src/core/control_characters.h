// The control characters a line of a TSV manifest may not hold.
#ifndef CASEWRIGHT_CORE_CONTROL_CHARACTERS_H_
#define CASEWRIGHT_CORE_CONTROL_CHARACTERS_H_

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace casewright {

// Why `line` (without its line end) cannot be a manifest line, or nullopt:
// a control character other than the TAB that separates fields.  A NUL
// would cut a path short of what the checks compared, and a CR in the
// middle of a line means the lines end in CR alone.  `field_name` names
// field k (from 0) in the message.
std::optional<std::string> ControlCharacterProblem(std::string_view line,
                                                   const std::function<std::string(std::size_t)>& field_name);

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_CONTROL_CHARACTERS_H_
