// Property checks inside the fuzz targets: a property that does not hold
// ends the process with a message, which libFuzzer reports as a crash and
// keeps the input for.
#ifndef CASEWRIGHT_FUZZ_FUZZ_CHECK_H_
#define CASEWRIGHT_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property does not hold: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)

#endif  // CASEWRIGHT_FUZZ_FUZZ_CHECK_H_
