#include "cli/parse_error.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>
#include <regex>

namespace casewright::cli {
namespace {

// Edit distance, with the swap of two neighbours as one edit (the optimal
// string alignment distance).
std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

std::string_view WithoutDashes(std::string_view name) {
  return name.substr(std::min(name.find_first_not_of('-'), name.size()));
}

bool IsNumber(std::string_view text) {
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool LooksLikeOption(const std::string& argument) {
  return argument.size() > 1 && argument[0] == '-' && !IsNumber(argument);
}

std::vector<std::string> OptionNames(const CLI::App& command) {
  std::vector<std::string> names;
  for (const CLI::Option* option : command.get_options()) {
    for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
    for (const std::string& name : option->get_snames()) names.push_back("-" + name);
  }
  return names;
}

std::vector<std::string> SubcommandNames(const CLI::App& command) {
  std::vector<std::string> names;
  for (const CLI::App* subcommand : command.get_subcommands([](const CLI::App*) { return true; })) {
    names.push_back(subcommand->get_name());
  }
  return names;
}

std::string DidYouMean(const std::string& nearest) {
  return nearest.empty() ? "" : " (did you mean " + nearest + "?)";
}

// A bound of a CLI11 range, written by std::to_string ("1.500000"), as a
// person would write it ("1.5").
std::string PlainNumber(const std::string& bound) {
  double value = 0;
  std::from_chars(bound.data(), bound.data() + bound.size(), value);
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

bool IsHuge(const std::string& bound) { return bound.size() > 30; }  // std::to_string of DBL_MAX

// Whether `option_name` of `command` is checked by CLI::PositiveNumber, whose
// least value (the least positive double) CLI11 writes as 0.000000.  CLI11
// knows its checks by description only, and has no count of them.
bool IsPositiveNumber(CLI::App& command, const std::string& option_name) {
  CLI::Option* option = command.get_option_no_throw(option_name);
  if (option == nullptr) return false;
  try {
    for (int i = 0;; ++i) {
      if (option->get_validator(i)->get_description() == CLI::PositiveNumber.get_description()) return true;
    }
  } catch (const CLI::OptionNotFound&) {  // past the last check
    return false;
  }
}

// "--jobs: Value 0 not in range 0.000000 to 1797...": the number's range.
std::string DescribeRange(CLI::App& command, const std::smatch& m) {
  const std::string option = m[1], value = m[2], low = m[3], high = m[4];
  std::string range;
  if (IsPositiveNumber(command, option)) {
    range = "a number more than 0";
  } else if (IsHuge(high)) {
    range = "a number of at least " + PlainNumber(low);
  } else {
    range = "a number from " + PlainNumber(low) + " to " + PlainNumber(high);
  }
  return option + ": \"" + value + "\" is not " + range;
}

// "--format: xyz not in {plain,quinlan,arff,csv}": the values allowed, and
// the nearest one.
std::string DescribeSet(const std::smatch& m) {
  const std::string option = m[1], value = m[2];
  std::vector<std::string> allowed;
  const std::string list = m[3];
  for (std::size_t start = 0; start <= list.size();) {
    const std::size_t comma = std::min(list.find(',', start), list.size());
    allowed.push_back(list.substr(start, comma - start));
    start = comma + 1;
  }
  std::string words;
  for (const std::string& word : allowed) words += (words.empty() ? "" : ", ") + word;
  return option + ": \"" + value + "\" is not one of " + words + DidYouMean(NearestWord(value, allowed));
}

}  // namespace

std::string NearestWord(std::string_view word, const std::vector<std::string>& candidates) {
  const std::string_view bare = WithoutDashes(word);
  std::string nearest;
  std::size_t best = std::numeric_limits<std::size_t>::max();
  for (const std::string& candidate : candidates) {
    const std::string_view name = WithoutDashes(candidate);
    // The beginning of a name counts as one edit away from it.
    const bool beginning = bare.size() >= 3 && name.starts_with(bare);
    const std::size_t distance = beginning ? 1 : EditDistance(bare, name);
    if (distance <= 1 + name.size() / 4 && distance < best) {
      best = distance;
      nearest = candidate;
    }
  }
  return nearest;
}

CLI::App& ChosenCommand(CLI::App& app) {
  CLI::App* command = &app;
  while (!command->get_subcommands().empty()) command = command->get_subcommands().front();
  return *command;
}

std::string HelpHint(const CLI::App& command) {
  std::string path;
  for (const CLI::App* app = &command; app->get_parent() != nullptr; app = app->get_parent()) {
    path = " " + app->get_name() + path;
  }
  return "See casewright-cli" + path + " --help.";
}

std::string DescribeParseError(CLI::App& app, const CLI::ParseError& error) {
  CLI::App& command = ChosenCommand(app);
  // An argument no option took explains most other complaints (a value or
  // an argument that seems to be missing): name it first, an unknown option
  // before a word.
  std::vector<std::string> extras = app.remaining(true);
  std::erase(extras, "--");
  auto option = std::find_if(extras.begin(), extras.end(), LooksLikeOption);
  if (option != extras.end()) {
    const std::string unknown = option->substr(0, option->find('='));  // "--txt=a" gives "--txt"
    return "unknown option " + unknown + DidYouMean(NearestWord(unknown, OptionNames(command)));
  }
  if (!extras.empty()) {
    return "unexpected argument " + extras.front() + DidYouMean(NearestWord(extras.front(), SubcommandNames(command)));
  }
  const std::string message = error.what();
  static const std::regex range("(\\S+): Value (.*) not in range (\\S+) to (\\S+)");
  static const std::regex set("(\\S+): (.*) not in \\{(.*)\\}");
  static const std::regex missing("(\\S+): \\d+ required (\\S+) missing");
  std::smatch m;
  if (std::regex_match(message, m, range)) return DescribeRange(command, m);
  if (std::regex_match(message, m, set)) return DescribeSet(m);
  if (std::regex_match(message, m, missing)) return m.str(1) + " needs a value (" + m.str(2) + ")";
  return message;
}

}  // namespace casewright::cli
