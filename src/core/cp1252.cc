#include "core/cp1252.h"

#include <array>
#include <cstdint>
#include <unordered_map>

namespace casewright {
namespace {

// Unicode code points of the bytes 0x80 to 0x9F.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePointOf(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
  return byte;
}

std::optional<unsigned char> ByteOf(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
  static const auto* reverse = [] {
    auto* map = new std::unordered_map<char32_t, unsigned char>;
    for (int i = 0; i < 32; ++i) (*map)[kHighControls[i]] = static_cast<unsigned char>(0x80 + i);
    return map;
  }();
  auto it = reverse->find(cp);
  if (it == reverse->end()) return std::nullopt;
  return it->second;
}

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at `pos`, advancing it; nullopt when malformed
// (overlong forms, surrogates and values past U+10FFFF included).
std::optional<char32_t> DecodeUtf8(std::string_view s, std::size_t& pos) {
  auto lead = static_cast<unsigned char>(s[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  const std::size_t length = Utf8SequenceLength(lead);
  if (length == 1) return std::nullopt;
  // The bits of the lead byte that carry the value, by sequence length.
  constexpr unsigned char kLeadBits[] = {0, 0, 0x1F, 0x0F, 0x07};
  char32_t cp = lead & kLeadBits[length];
  if (pos + length > s.size()) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    auto c = static_cast<unsigned char>(s[pos + i]);
    if ((c & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (c & 0x3F);
  }
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  pos += length;
  return cp;
}

}  // namespace

char32_t Cp1252CodePoint(unsigned char byte) { return CodePointOf(byte); }

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) AppendUtf8(CodePointOf(static_cast<unsigned char>(c)), out);
  return out;
}

std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 1;
}

bool IsValidUtf8(std::string_view text) { return !FindInvalidUtf8(text); }

std::optional<std::size_t> FindInvalidUtf8(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (!DecodeUtf8(text, pos)) return pos;
  }
  return std::nullopt;
}

std::optional<std::string> Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    auto cp = DecodeUtf8(utf8, pos);
    if (!cp) return std::nullopt;
    auto byte = ByteOf(*cp);
    if (!byte) return std::nullopt;
    out += static_cast<char>(*byte);
  }
  return out;
}

Cp1252Text Utf8ToCp1252Replacing(std::string_view utf8, char stand_in) {
  Cp1252Text out;
  out.bytes.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const std::size_t start = pos;
    const std::optional<char32_t> cp = DecodeUtf8(utf8, pos);
    if (!cp) ++pos;
    if (const std::optional<unsigned char> byte = cp ? ByteOf(*cp) : std::nullopt) {
      out.bytes += static_cast<char>(*byte);
      continue;
    }
    if (out.replaced++ == 0) out.first_replaced = start;
    out.bytes += stand_in;
  }
  return out;
}

}  // namespace casewright
