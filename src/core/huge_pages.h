// A hint that a large buffer be backed by huge pages.
//
// A long text's buffers (the text, its sentences, their word ids) are tens
// of megabytes written once from start to end: in pages of 4 KiB each
// takes thousands of page faults, which cost a run more processor time than
// some of its stages.  Where the system hands out huge pages on request,
// asking for them makes that a few dozen.
#ifndef CASEWRIGHT_CORE_HUGE_PAGES_H_
#define CASEWRIGHT_CORE_HUGE_PAGES_H_

#include <cstddef>

namespace casewright {

// Asks for huge pages behind the whole huge pages that [data, data + bytes)
// covers.  Only a hint: it changes no byte, and a system that refuses it, or
// a buffer smaller than a huge page, is left as it was.
void AdviseHugePages(const void* data, std::size_t bytes);

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_HUGE_PAGES_H_
