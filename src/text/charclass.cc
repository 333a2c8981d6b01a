#include "text/charclass.h"

#include <array>

namespace casewright {
namespace {

constexpr std::array<unsigned char, 256> MakeLowerTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
  auto shift = [&table](int from, int to) {
    for (int c = from; c <= to; ++c) table[c] = static_cast<unsigned char>(c + 32);
  };
  shift('A', 'Z');
  shift(192, 196);
  shift(199, 207);
  shift(210, 214);
  shift(217, 221);
  table[159] = 255;  // Ÿ -> ÿ
  return table;
}

constexpr std::array<unsigned char, 256> kLower = MakeLowerTable();

}  // namespace

unsigned char LowerCaseByte(unsigned char c) { return kLower[c]; }

std::string NormalizeWord(std::string_view word) {
  std::string result(word);
  for (char& c : result) c = static_cast<char>(kLower[static_cast<unsigned char>(c)]);
  return result;
}

}  // namespace casewright
