#include "errors.h"

#include <cerrno>
#include <charconv>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "cli/command.h"
#include "core/run_error.h"

namespace casewright::python {
namespace {

// The messages of FileError (core/file_error.h), by the errno they stand
// for; a message that holds one is a failure of the file system.
struct FileFailure {
  std::string_view message;
  int error_code;
};
constexpr FileFailure kFileFailures[] = {
    {"File not found", ENOENT},   {"Folder not found", ENOENT},       {"Invalid filename", ENOTDIR},
    {"Too many open files", EMFILE}, {"File access denied", EACCES}, {"Symbolic link loop", ELOOP},
};
constexpr std::string_view kIoError = "I/O error ";

std::optional<int> ErrnoOf(std::string_view message) {
  for (const FileFailure& failure : kFileFailures) {
    if (message.find(failure.message) != std::string_view::npos) return failure.error_code;
  }
  if (const std::size_t at = message.find(kIoError); at != std::string_view::npos) {
    int code = 0;
    const char* first = message.data() + at + kIoError.size();
    if (std::from_chars(first, message.data() + message.size(), code).ec == std::errc()) return code;
  }
  return std::nullopt;
}

void RaiseOsError(int error_code, const RunError& error) {
  pybind11::object os_error = pybind11::reinterpret_borrow<pybind11::object>(PyExc_OSError);
  pybind11::object raised = error.path().empty() ? os_error(error_code, error.Describe())
                                                 : os_error(error_code, error.what(), error.path());
  PyErr_SetObject(PyExc_OSError, raised.ptr());
}

}  // namespace

void RegisterErrors(pybind11::module_& module) {
  static pybind11::exception<RunError> error(module, "Error", PyExc_ValueError);
  pybind11::register_exception_translator([](std::exception_ptr thrown) {
    try {
      if (thrown) std::rethrow_exception(thrown);
    } catch (const RunError& e) {
      if (const std::optional<int> code = ErrnoOf(e.what())) {
        RaiseOsError(*code, e);
      } else {
        error(e.Describe().c_str());
      }
    } catch (const cli::UsageError& e) {
      error(e.what());
    } catch (const std::invalid_argument& e) {
      error(e.what());
    }
  });
}

}  // namespace casewright::python
