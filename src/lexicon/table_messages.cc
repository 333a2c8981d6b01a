#include "lexicon/table_messages.h"

#include "core/cp1252.h"

namespace casewright {
namespace {

// `bytes` for a message: valid UTF-8 as it is, a control character or a byte
// outside a valid sequence as \xHH, so that a message stays valid, printable
// UTF-8 and still shows every byte.
std::string EscapeInvalidUtf8(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const std::string_view sequence = bytes.substr(i, Utf8SequenceLength(lead));
    const bool control = lead < 0x20 || lead == 0x7F;
    if (!control && sequence.size() == Utf8SequenceLength(lead) && IsValidUtf8(sequence)) {
      escaped += sequence;
      i += sequence.size();
    } else {
      escaped += {'\\', 'x', kHex[lead >> 4], kHex[lead & 0xF]};
      ++i;
    }
  }
  return escaped;
}

}  // namespace

RunError MissingCanonicalForm(const std::string& word, const std::string& table_path) {
  return RunError("Invalid variant type conversion: the lexicon entry \"" + Cp1252ToUtf8(word) +
                      "\" has no \"Can\xC3\xB4nica\" value",
                  table_path);
}

RunError UnrepresentableCanonicalForm(const std::string& word, const std::string& stored,
                                      const std::string& table_path) {
  return RunError("the lexicon entry \"" + Cp1252ToUtf8(word) + "\" has the canonical form \"" +
                      EscapeInvalidUtf8(stored) + "\", which cannot be written in Windows-1252",
                  table_path);
}

}  // namespace casewright
