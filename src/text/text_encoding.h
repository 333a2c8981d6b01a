// The encodings a text file may be written in.
//
// The analysis works on Windows-1252 bytes.  A UTF-8 text (a byte-order mark
// at its start is skipped) is converted to them when it is loaded; a
// character that has no Windows-1252 form becomes a blank, which separates
// words like any other blank, and the load warns how many there were and on
// which line the first one is.  Under `auto` a file that is valid UTF-8 with
// at least one multi-byte character is read as UTF-8, any other as
// Windows-1252; one that is valid UTF-8 with multi-byte characters up to a
// byte that is not is read as Windows-1252 with a warning naming that byte's
// line.
#ifndef CASEWRIGHT_TEXT_TEXT_ENCODING_H_
#define CASEWRIGHT_TEXT_TEXT_ENCODING_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace casewright {

enum class TextEncoding { kWindows1252, kUtf8, kAuto };

// The encoding the command line spells "windows-1252", "utf-8" or "auto".
std::optional<TextEncoding> EncodingNamed(std::string_view name);

struct DecodedText {
  std::string bytes;  // Windows-1252
  std::vector<std::string> warnings;
  // Which encoding `auto` took.
  std::vector<std::string> notes;
  // Whether the file was read as UTF-8.
  bool utf8 = false;
};

// Decodes the bytes of the text file at `path` (named in messages).  Read
// as UTF-8, the text converted to Windows-1252 is in `bytes`; read as
// Windows-1252, `raw` is the text as it is and `bytes` is left empty, so that
// a large text is not copied for nothing.  Under the Windows-1252 default,
// warns when the bytes look like UTF-8.  Throws RunError naming the byte
// offset when the text is read as UTF-8 and is not valid UTF-8.
DecodedText DecodeText(std::string_view raw, TextEncoding encoding, const std::string& path);

}  // namespace casewright

#endif  // CASEWRIGHT_TEXT_TEXT_ENCODING_H_
