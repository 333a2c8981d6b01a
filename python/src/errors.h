// How a failure of the core reaches Python: casewright.Error, a ValueError,
// for what is wrong with an input or a setting, and OSError (with its errno,
// so that FileNotFoundError and PermissionError can be caught) for a file
// the system would not read or write.  Both carry the command line's message,
// which names the file.
#ifndef CASEWRIGHT_PYTHON_ERRORS_H_
#define CASEWRIGHT_PYTHON_ERRORS_H_

#include <pybind11/pybind11.h>

namespace casewright::python {

// Adds casewright.Error to `module` and translates RunError, the command
// line's UsageError and std::invalid_argument into it or OSError.
void RegisterErrors(pybind11::module_& module);

}  // namespace casewright::python

#endif  // CASEWRIGHT_PYTHON_ERRORS_H_
