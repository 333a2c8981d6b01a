#include "learner/xgboost_library.h"

#include <dlfcn.h>

#include <cstdlib>
#include <type_traits>

#include "core/run_error.h"

namespace casewright {

const char* const kXgboostLibraryName = CASEWRIGHT_XGBOOST_LIBRARY;

namespace {

// What the dynamic loader said about its last failure.
std::string LoaderError() {
  const char* error = dlerror();
  return error != nullptr ? error : "no reason given";
}

}  // namespace

XgboostLibrary LoadXgboostLibrary(const std::string& name) {
  // The library's OpenMP threads would otherwise spin between parallel
  // regions, and on a machine of few cores the spinning thread takes the
  // core the program needs: scoring one short text took twice as long.  The
  // OpenMP runtime reads this when it is loaded; a user's own setting stays.
  setenv("OMP_WAIT_POLICY", "passive", /*overwrite=*/0);
  // Lazy: a function of the library is bound when first called, so that
  // loading it does not resolve the thousands the program never calls.
  // Local: the library's symbols are reached through the table only, and do
  // not stand in for anything the program or another library defines.
  void* handle = dlopen(name.c_str(), RTLD_LAZY | RTLD_LOCAL);
  if (handle == nullptr) {
    throw RunError("Cannot load the XGBoost library, which train, crossval and summarize --model need (" +
                   LoaderError() + "); Debian's package libxgboost0 installs it");
  }
  XgboostLibrary library;
  auto find = [&](auto& function, const char* symbol) {
    function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle, symbol));
    if (function == nullptr) {
      const std::string reason = LoaderError();
      dlclose(handle);
      throw RunError("The XGBoost library " + name + " lacks the function " + symbol + " (" + reason + ")");
    }
  };
#define CASEWRIGHT_XGBOOST_FIND(function) find(library.function, #function);
  CASEWRIGHT_XGBOOST_FUNCTIONS(CASEWRIGHT_XGBOOST_FIND)
#undef CASEWRIGHT_XGBOOST_FIND
  return library;
}

const XgboostLibrary& Xgboost() {
  // A static's initialisation runs once for all threads, and again on the
  // next call when it threw.
  static const XgboostLibrary library = LoadXgboostLibrary(kXgboostLibraryName);
  return library;
}

}  // namespace casewright
