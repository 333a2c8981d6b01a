#include "batch/shard_index.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <stdexcept>

#include "core/cp1252.h"
#include "core/run_error.h"
#include "output/class_values.h"

namespace casewright {
namespace {

constexpr std::string_view kMagic = "casewright-shard-index\t2";
constexpr std::string_view kFirstVersion = "casewright-shard-index\t1";

std::optional<std::uint64_t> FromHex(std::string_view text) {
  std::uint64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (error != std::errc() || end != text.data() + text.size() || text.size() != 16) return std::nullopt;
  return value;
}

// `name` on one line of UTF-8 that reads back as it was: a backslash, a
// control character and, in a name that is not UTF-8, every byte above
// 0x7F are written as \xHH.
std::string Escaped(std::string_view name) {
  const bool utf8 = IsValidUtf8(name);
  std::string escaped;
  for (char c : name) {
    const unsigned char byte = c;
    if (c == '\\' || byte < 0x20 || byte == 0x7F || (byte > 0x7F && !utf8)) {
      char code[5];
      std::snprintf(code, sizeof code, "\\x%02X", byte);
      escaped += code;
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::optional<std::string> Unescaped(std::string_view text) {
  std::string name;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      name += text[i];
      continue;
    }
    unsigned value = 0;
    if (i + 4 > text.size() || text[i + 1] != 'x') return std::nullopt;
    auto [end, error] = std::from_chars(text.data() + i + 2, text.data() + i + 4, value, 16);
    if (error != std::errc() || end != text.data() + i + 4) return std::nullopt;
    name += static_cast<char>(value);
    i += 3;
  }
  return name;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  while (true) {
    std::size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

std::optional<std::size_t> Number(std::string_view text) {
  std::size_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

// Reads the index line by line, failing with the line's number.
class IndexReader {
 public:
  IndexReader(std::string_view text, const std::string& path) : lines_(Split(text, '\n')), path_(path) {
    if (!lines_.empty() && lines_.back().empty()) lines_.pop_back();
  }

  bool AtEnd() const { return next_ >= lines_.size(); }
  // Whether the next line is a "key<TAB>value" line.
  bool Next(std::string_view key) const {
    return !AtEnd() && lines_[next_].starts_with(key) && lines_[next_].substr(key.size(), 1) == "\t";
  }
  std::size_t line() const { return next_; }

  std::string_view Line() {
    if (AtEnd()) Fail("the index ends early");
    return lines_[next_++];
  }

  // The value of a "key<TAB>value" line.
  std::string_view Field(std::string_view key) {
    std::string_view line = Line();
    if (!line.starts_with(key) || line.substr(key.size(), 1) != "\t") Fail("expected \"" + std::string(key) + "\"");
    return line.substr(key.size() + 1);
  }

  std::size_t NumberOf(std::string_view text) {
    std::optional<std::size_t> value = Number(text);
    if (!value) Fail("\"" + std::string(text) + "\" is not a number");
    return *value;
  }

  [[noreturn]] void Fail(const std::string& why) const {
    throw RunError("Not a shard index (line " + std::to_string(next_) + ": " + why + ")", path_);
  }

 private:
  std::vector<std::string_view> lines_;
  std::size_t next_ = 0;
  const std::string& path_;
};

}  // namespace

std::string DigestText(std::uint64_t value) {
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(value));
  return digits;
}

std::uint64_t Fnv1a(std::string_view bytes, std::uint64_t hash) {
  for (unsigned char c : bytes) hash = (hash ^ c) * 0x100000001b3;
  return hash;
}

std::uint64_t EntryDigest(const ShardIndex& index, const std::vector<std::string>& class_values,
                          std::string_view cases) {
  std::string schema = std::string(FormatName(index.format)) + "\t" + FeatureBits(index.features) + "\t" +
                       index.relation + "\t" + (index.ids ? "1" : "0") + "\t" +
                       ClassValueList(index.class_values) + "\n";
  for (const std::string& value : class_values) schema += value + " ";
  return Fnv1a(cases, Fnv1a(schema + "\n"));
}

std::string IndexPathOf(const std::string& combined_path) { return combined_path + ".index"; }

std::string ShardIndexText(const ShardIndex& index) {
  std::string text(kMagic);
  text += "\nbatch\t" + index.batch;
  text += "\nshard\t" + std::to_string(index.shard.k) + "/" + std::to_string(index.shard.n);
  text += "\nentries\t" + std::to_string(index.manifest_entries);
  text += "\nformat\t" + std::string(FormatName(index.format));
  text += "\nfeatures\t" + FeatureBits(index.features);
  text += "\nrelation\t" + Escaped(index.relation);
  text += "\nheader\t" + std::to_string(index.header_bytes) + "\n";
  if (index.ids) text += "ids\t1\n";
  if (!index.class_values.empty()) text += "class-values\t" + ClassValueList(index.class_values) + "\n";
  if (index.values == CaseValues::kRaw) text += "values\traw\n";
  for (const ShardIndex::Entry& entry : index.entries) {
    text += std::to_string(entry.index) + "\t" + std::to_string(entry.cases) + "\t";
    for (std::size_t i = 0; i < entry.class_values.size(); ++i) {
      text += (i > 0 ? " " : "") + entry.class_values[i];
    }
    text += "\t" + DigestText(entry.digest) + "\n";
  }
  return text;
}

ShardIndex ParseShardIndex(std::string_view text, const std::string& path) {
  IndexReader reader(text, path);
  const std::string_view magic = reader.Line();
  if (magic == kFirstVersion) {
    reader.Fail("written by an older casewright-cli, whose shards cannot be checked; run the shard's batch again");
  }
  if (magic != kMagic) reader.Fail("not written by casewright-cli batch --shard");
  ShardIndex index;
  index.batch = reader.Field("batch");
  if (!FromHex(index.batch)) reader.Fail("the batch is not 16 hexadecimal digits");
  try {
    index.shard = ParseShard(std::string(reader.Field("shard")));
  } catch (const std::invalid_argument& e) {
    reader.Fail(e.what());
  }
  index.manifest_entries = reader.NumberOf(reader.Field("entries"));
  std::optional<CaseFormat> format = FormatNamed(reader.Field("format"));
  if (!format) reader.Fail("unknown format");
  index.format = *format;
  std::optional<FeatureSet> features = FeatureSetOfBits(reader.Field("features"));
  if (!features) {
    reader.Fail("the features are not " + std::to_string(kDefaultFeatureCount) + " or " +
                std::to_string(kFeatureCount) + " digits 0 or 1");
  }
  index.features = *features;
  std::optional<std::string> relation = Unescaped(reader.Field("relation"));
  if (!relation) reader.Fail("a backslash in the relation is not \\xHH");
  index.relation = std::move(*relation);
  index.header_bytes = reader.NumberOf(reader.Field("header"));
  if (reader.Next("ids")) {
    if (reader.Field("ids") != "1") reader.Fail("ids is not 1");
    index.ids = true;
  }
  if (reader.Next("class-values")) {
    try {
      index.class_values = ParseClassValues(reader.Field("class-values"));
    } catch (const std::invalid_argument& e) {
      reader.Fail(e.what());
    }
  }
  if (reader.Next("values")) {
    if (reader.Field("values") != "raw") reader.Fail("values is not raw");
    index.values = CaseValues::kRaw;
  }
  while (!reader.AtEnd()) {
    std::vector<std::string_view> fields = Split(reader.Line(), '\t');
    if (fields.size() != 4) reader.Fail("an entry is index<TAB>cases<TAB>class values<TAB>digest");
    ShardIndex::Entry entry{reader.NumberOf(fields[0]), reader.NumberOf(fields[1]), {}, 0, reader.line()};
    for (std::string_view value : Split(fields[2], ' ')) {
      if (!value.empty()) entry.class_values.emplace_back(value);
    }
    std::optional<std::uint64_t> digest = FromHex(fields[3]);
    if (!digest) reader.Fail("the digest is not 16 hexadecimal digits");
    entry.digest = *digest;
    index.entries.push_back(std::move(entry));
  }
  return index;
}

}  // namespace casewright
