#include "text/text_encoding.h"

#include <algorithm>
#include <cstdio>

#include "core/cp1252.h"
#include "core/run_error.h"
#include "core/spelling.h"

namespace casewright {
namespace {

// What a character without a Windows-1252 form becomes: a blank, so that it
// separates the words on either side and belongs to none.
constexpr char kStandIn = ' ';

constexpr Spelling<TextEncoding> kSpellings[] = {
    {TextEncoding::kWindows1252, "windows-1252"},
    {TextEncoding::kUtf8, "utf-8"},
    {TextEncoding::kAuto, "auto"},
};

bool HasMultiByteCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

bool LooksLikeUtf8(std::string_view text) { return HasMultiByteCharacter(text) && IsValidUtf8(text); }

// The 1-based line of the byte at `offset`; CR LF, CR and LF each end a line.
std::size_t LineOf(std::string_view text, std::size_t offset) {
  std::size_t line = 1;
  for (std::size_t i = 0; i < offset; ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++line;
  }
  return line;
}

DecodedText DecodeUtf8(std::string_view raw, const std::string& path) {
  std::size_t skipped = raw.starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
  raw.remove_prefix(skipped);
  if (std::optional<std::size_t> bad = FindInvalidUtf8(raw)) {
    throw RunError("Invalid UTF-8 at byte offset " + std::to_string(*bad + skipped), path);
  }
  Cp1252Text converted = Utf8ToCp1252Replacing(raw, kStandIn);
  DecodedText decoded{std::move(converted.bytes), {}, {}, true};
  if (converted.replaced > 0) {
    const std::string line = std::to_string(LineOf(raw, converted.first_replaced));
    decoded.warnings.push_back(
        converted.replaced == 1
            ? "1 character of the text has no Windows-1252 form and was read as a blank; it is on line " + line +
                  "."
            : std::to_string(converted.replaced) +
                  " characters of the text have no Windows-1252 form and were read as blanks; the first is on "
                  "line " +
                  line + ".");
  }
  return decoded;
}

// A text that is UTF-8, multi-byte characters and all, up to a byte that is
// not is most likely UTF-8 with a fault (a pasted Windows-1252 part, a cut
// character), not Windows-1252: `auto` reads it as Windows-1252 all the same,
// and says where the UTF-8 ends so that the fault can be mended.
void WarnOfBrokenUtf8(std::string_view raw, std::vector<std::string>& warnings) {
  const std::optional<std::size_t> bad = FindInvalidUtf8(raw);
  if (!bad || !HasMultiByteCharacter(raw.substr(0, *bad))) return;
  char byte[5];
  std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(raw[*bad]));
  warnings.push_back("The text is valid UTF-8, with multi-byte characters, up to line " +
                     std::to_string(LineOf(raw, *bad)) + ", where byte " + byte + " (byte offset " +
                     std::to_string(*bad) +
                     ") is not UTF-8; it was read as Windows-1252. If it is UTF-8, mend that line; if it is "
                     "Windows-1252, say so (--encoding windows-1252).");
}

}  // namespace

std::optional<TextEncoding> EncodingNamed(std::string_view name) {
  return ValueIn<TextEncoding>(kSpellings, name);
}

DecodedText DecodeText(std::string_view raw, TextEncoding encoding, const std::string& path) {
  switch (encoding) {
    case TextEncoding::kUtf8:
      return DecodeUtf8(raw, path);
    case TextEncoding::kAuto: {
      const bool utf8 = LooksLikeUtf8(raw);
      DecodedText decoded = utf8 ? DecodeUtf8(raw, path) : DecodedText{};
      if (!utf8) WarnOfBrokenUtf8(raw, decoded.warnings);
      decoded.notes.push_back(utf8 ? "The text was read as UTF-8." : "The text was read as Windows-1252.");
      return decoded;
    }
    case TextEncoding::kWindows1252:
      break;
  }
  DecodedText decoded;
  if (LooksLikeUtf8(raw)) {
    decoded.warnings.push_back(
        "The text looks like UTF-8 (it is valid UTF-8 with multi-byte characters) but was read as Windows-1252; "
        "if it is UTF-8, read it as UTF-8 (--encoding utf-8).");
  }
  return decoded;
}

}  // namespace casewright
