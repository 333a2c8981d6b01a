// Loading a text file the way the window shows it: the whole file as 8-bit
// text, every line break (CR LF, CR alone, LF alone) as CR LF, cut at the
// first NUL byte.
#ifndef CASEWRIGHT_TEXT_LOAD_TEXT_H_
#define CASEWRIGHT_TEXT_LOAD_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "text/text_encoding.h"

namespace casewright {

// The largest loaded text, line breaks converted: 1 GiB, well inside the
// 32-bit positions the segmenter counts with.
inline constexpr std::size_t kMemoCapacity = std::size_t{1} << 30;

// Converts every line break of `raw` to CR LF and cuts it at the first NUL.
std::string ConvertLineBreaks(std::string_view raw);

// Reads the file at `path` (`-`: standard input) in `encoding`
// (text_encoding.h), then converts its line breaks.  Throws RunError "No
// text file named" for an empty path, "Cannot open file <path> (<reason>)"
// when it cannot be read and "Text exceeds memo capacity" when the converted
// text is longer than `capacity`, both carrying `path`, and the decoding's
// errors.
DecodedText LoadTextAs(const std::string& path, TextEncoding encoding, std::size_t capacity = kMemoCapacity);

// The same for a Windows-1252 text, without its warnings.
std::string LoadText(const std::string& path, std::size_t capacity = kMemoCapacity);

// A text as LoadTextAs gives it, with the file's own bytes beside it, so
// that parts of the text can be shown as the file has them.
struct SourceText {
  DecodedText text;
  // The file's bytes up to its first NUL, without a UTF-8 byte-order mark.
  std::string original;
};

// LoadTextAs, keeping the file's bytes.  Throws as LoadTextAs.
SourceText LoadTextWithOriginal(const std::string& path, TextEncoding encoding,
                                std::size_t capacity = kMemoCapacity);

}  // namespace casewright

#endif  // CASEWRIGHT_TEXT_LOAD_TEXT_H_
