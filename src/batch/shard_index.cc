#include "batch/shard_index.h"

#include <charconv>
#include <optional>
#include <stdexcept>

#include "core/run_error.h"
#include "output/class_values.h"

namespace casewright {
namespace {

constexpr std::string_view kMagic = "casewright-shard-index\t1";

std::string FeatureBits(FeatureSet features) {
  std::string bits;
  for (const FeatureInfo& info : kFeatures) bits += features.Has(info.feature) ? '1' : '0';
  return bits;
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

std::string IndexPathOf(const std::string& combined_path) { return combined_path + ".index"; }

std::string ShardIndexText(const ShardIndex& index) {
  std::string text(kMagic);
  text += "\nshard\t" + std::to_string(index.shard.k) + "/" + std::to_string(index.shard.n);
  text += "\nentries\t" + std::to_string(index.manifest_entries);
  text += "\nformat\t" + std::string(FormatName(index.format));
  text += "\nfeatures\t" + FeatureBits(index.features);
  text += "\nrelation\t" + index.relation;
  text += "\nheader\t" + std::to_string(index.header_bytes) + "\n";
  if (index.ids) text += "ids\t1\n";
  if (!index.class_values.empty()) text += "class-values\t" + ClassValueList(index.class_values) + "\n";
  for (const ShardIndex::Entry& entry : index.entries) {
    text += std::to_string(entry.index) + "\t" + std::to_string(entry.cases) + "\t";
    for (std::size_t i = 0; i < entry.class_values.size(); ++i) {
      text += (i > 0 ? " " : "") + entry.class_values[i];
    }
    text += "\n";
  }
  return text;
}

ShardIndex ParseShardIndex(std::string_view text, const std::string& path) {
  IndexReader reader(text, path);
  if (reader.Line() != kMagic) reader.Fail("not written by casewright-cli batch --shard");
  ShardIndex index;
  try {
    index.shard = ParseShard(std::string(reader.Field("shard")));
  } catch (const std::invalid_argument& e) {
    reader.Fail(e.what());
  }
  index.manifest_entries = reader.NumberOf(reader.Field("entries"));
  std::optional<CaseFormat> format = FormatNamed(reader.Field("format"));
  if (!format) reader.Fail("unknown format");
  index.format = *format;
  std::string_view bits = reader.Field("features");
  if (bits.size() != kFeatures.size() || bits.find_first_not_of("01") != std::string_view::npos) {
    reader.Fail("the features are not " + std::to_string(kFeatures.size()) + " digits 0 or 1");
  }
  index.features = FeatureSet::None();
  for (const FeatureInfo& info : kFeatures) index.features.Set(info.feature, bits[info.number - 1] == '1');
  index.relation = reader.Field("relation");
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
  while (!reader.AtEnd()) {
    std::vector<std::string_view> fields = Split(reader.Line(), '\t');
    if (fields.size() != 3) reader.Fail("an entry is index<TAB>cases<TAB>class values");
    ShardIndex::Entry entry{reader.NumberOf(fields[0]), reader.NumberOf(fields[1]), {}};
    for (std::string_view value : Split(fields[2], ' ')) {
      if (!value.empty()) entry.class_values.emplace_back(value);
    }
    index.entries.push_back(std::move(entry));
  }
  return index;
}

}  // namespace casewright
