// XGBoost's C API, loaded when it is first used rather than when the program
// starts.  Only training, cross-validation and scoring with a model need the
// library; loading it (with the libraries it needs in turn, its thread pool's
// among them) costs every start of the program a few milliseconds, and a
// program that never uses a model runs without it.
//
// The functions are those of <xgboost/c_api.h>, with the same names and
// types, reached through the table Xgboost() returns:
//
//   Check(Xgboost().XGBoosterCreate(nullptr, 0, &handle));
//
// The program does not link the library, so a call of the C API's functions
// by their global names fails to link: every call goes through the table.
#ifndef CASEWRIGHT_LEARNER_XGBOOST_LIBRARY_H_
#define CASEWRIGHT_LEARNER_XGBOOST_LIBRARY_H_

#include <xgboost/c_api.h>

#include <string>

namespace casewright {

// The C API's functions the learner calls.
#define CASEWRIGHT_XGBOOST_FUNCTIONS(X)                                                                \
  X(XGBGetLastError)                                                                                   \
  X(XGBSetGlobalConfig)                                                                                \
  X(XGDMatrixCreateFromMat)                                                                            \
  X(XGDMatrixSetFloatInfo)                                                                             \
  X(XGDMatrixFree)                                                                                     \
  X(XGBoosterCreate)                                                                                   \
  X(XGBoosterFree)                                                                                     \
  X(XGBoosterSetParam)                                                                                 \
  X(XGBoosterUpdateOneIter)                                                                            \
  X(XGBoosterSetStrFeatureInfo)                                                                        \
  X(XGBoosterSetAttr)                                                                                  \
  X(XGBoosterGetAttr)                                                                                  \
  X(XGBoosterLoadModelFromBuffer)                                                                      \
  X(XGBoosterSaveModelToBuffer)                                                                        \
  X(XGBoosterPredict)                                                                                  \
  X(XGBoosterFeatureScore)

struct XgboostLibrary {
#define CASEWRIGHT_XGBOOST_POINTER(name) decltype(&::name) name = nullptr;
  CASEWRIGHT_XGBOOST_FUNCTIONS(CASEWRIGHT_XGBOOST_POINTER)
#undef CASEWRIGHT_XGBOOST_POINTER
};

// The library the program was built against, by its soname
// ("libxgboost.so.0").
extern const char* const kXgboostLibraryName;

// Loads the shared library `name` (a soname or a path) and finds the
// functions in it.  Throws RunError naming the library, with the loader's
// reason, when it cannot be loaded or lacks one of the functions.  The
// library stays loaded until the program exits.
XgboostLibrary LoadXgboostLibrary(const std::string& name);

// The functions of kXgboostLibraryName, loaded on the first call (once, for
// all threads).  Throws RunError as LoadXgboostLibrary does; a later call
// tries again.
const XgboostLibrary& Xgboost();

}  // namespace casewright

#endif  // CASEWRIGHT_LEARNER_XGBOOST_LIBRARY_H_
