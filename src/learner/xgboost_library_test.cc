#include "learner/xgboost_library.h"

#include <gtest/gtest.h>

#include "core/run_error.h"

namespace casewright {
namespace {

TEST(XgboostLibraryTest, AMissingLibraryFailsNamingItAndThePackage) {
  try {
    LoadXgboostLibrary("libcasewright-no-such-library.so.0");
    FAIL() << "loaded a library that does not exist";
  } catch (const RunError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Cannot load the XGBoost library, which train, crossval and summarize --model need "
              "(libcasewright-no-such-library.so.0: cannot open shared object file: No such file or directory); "
              "Debian's package libxgboost0 installs it");
  }
}

TEST(XgboostLibraryTest, ALibraryWithoutTheFunctionsFailsNamingTheFirstMissing) {
  try {
    LoadXgboostLibrary("libm.so.6");
    FAIL() << "found XGBoost's functions in libm";
  } catch (const RunError& error) {
    // The loader's reason names the library by its path, which differs
    // between systems.
    const std::string message = error.what();
    EXPECT_TRUE(message.starts_with("The XGBoost library libm.so.6 lacks the function XGBGetLastError (")) << message;
    EXPECT_TRUE(message.ends_with("libm.so.6: undefined symbol: XGBGetLastError)")) << message;
  }
}

}  // namespace
}  // namespace casewright
