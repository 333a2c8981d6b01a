// Conversion between Windows-1252 bytes (the core's strings) and UTF-8 (the
// table store, the window, the terminal).  Every byte has exactly one Unicode
// form: 0x80-0x9F take the Windows-1252 characters, and the five bytes the
// code page leaves undefined (0x81 0x8D 0x8F 0x90 0x9D) stand for the C1
// controls of the same number, so every byte string round-trips.
#ifndef CASEWRIGHT_CORE_CP1252_H_
#define CASEWRIGHT_CORE_CP1252_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace casewright {

std::string Cp1252ToUtf8(std::string_view bytes);

// The Unicode character of one Windows-1252 byte; always in the Basic
// Multilingual Plane.
char32_t Cp1252CodePoint(unsigned char byte);

// nullopt when `utf8` is not valid UTF-8 or holds a character that has no
// Windows-1252 form.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);

bool IsValidUtf8(std::string_view text);

// The byte offset of the first malformed sequence of `text` (an overlong
// form, a surrogate or a value past U+10FFFF included), or nullopt when it
// is valid UTF-8.
std::optional<std::size_t> FindInvalidUtf8(std::string_view text);

// The byte-order mark that may open a UTF-8 file; it is no character of
// the text.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// How many bytes the UTF-8 sequence that starts with `lead` takes: 1 for
// an ASCII byte and for a byte that starts no valid sequence.
std::size_t Utf8SequenceLength(unsigned char lead);

// A UTF-8 text converted to Windows-1252 with a stand-in byte for every
// character that has no Windows-1252 form (and for every malformed byte).
struct Cp1252Text {
  std::string bytes;
  std::size_t replaced = 0;        // how many characters the stand-in took
  std::size_t first_replaced = 0;  // the UTF-8 byte offset of the first one
};

Cp1252Text Utf8ToCp1252Replacing(std::string_view utf8, char stand_in);

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_CP1252_H_
