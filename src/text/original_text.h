// Parts of a loaded text as its file has them.
//
// Loading turns a file's bytes into the text a run segments: UTF-8 becomes
// Windows-1252 one character a byte (a character without a Windows-1252
// form becomes a blank), and every line break (CR LF, CR or LF) becomes
// CR LF.  OriginalText walks the file's bytes as loading did, counting the
// loaded text's positions as it goes, so that a span of the loaded text (a
// sentence) can be shown with the characters of the file, in UTF-8, whatever
// the file's encoding.
#ifndef CASEWRIGHT_TEXT_ORIGINAL_TEXT_H_
#define CASEWRIGHT_TEXT_ORIGINAL_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace casewright {

class OriginalText {
 public:
  // `original` is the file's bytes as SourceText keeps them (load_text.h),
  // read as UTF-8 when `utf8`.  It must outlive this object.
  // REQUIRES: `original` is valid UTF-8 when `utf8`.
  OriginalText(std::string_view original, bool utf8);

  // The file's bytes that gave the loaded text's [start, end), in UTF-8,
  // with every line break (CR LF, CR or LF) and tab shown as a blank and the
  // blanks at either end left out.  Spans asked for in increasing order cost
  // one walk over the file in all; a span before the last one asked for
  // walks again from the start.
  std::string Utf8Of(std::size_t start, std::size_t end);

 private:
  // The offset in the file of the loaded text's position `loaded`; a
  // position inside the CR LF that a lone CR or LF became maps past it.
  std::size_t OffsetOf(std::size_t loaded);

  std::string_view original_;
  bool utf8_;
  // Where the walk stands: a position of the loaded text and its offset in
  // the file.
  std::size_t loaded_ = 0;
  std::size_t offset_ = 0;
};

}  // namespace casewright

#endif  // CASEWRIGHT_TEXT_ORIGINAL_TEXT_H_
