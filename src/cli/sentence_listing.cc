#include "cli/sentence_listing.h"

#include <algorithm>
#include <iomanip>
#include <string>

#include "pipeline/summary_tokens.h"

namespace casewright {
namespace {

// The mark in a tsv row.
const char* MarkName(ClassMark mark) {
  switch (mark) {
    case ClassMark::kRunOut:
      return "classes run out";
    case ClassMark::kEmpty:
      return "empty class";
    case ClassMark::kMerged:
      return "merged class";
    case ClassMark::kNone:
      break;
  }
  return "";
}

// The mark's line in the text listing, without its ">>>> ".
std::string MarkLine(ClassMark mark) {
  switch (mark) {
    case ClassMark::kRunOut:
      return "classes run out: the classes file has no class for this sentence or any later one";
    case ClassMark::kEmpty:
      return "empty class: this sentence's class has no digits (a space at the start, two spaces in a row, or a "
             "class without digits), which moves every later class along by one";
    case ClassMark::kMerged:
      return "merged class: this sentence's class runs its digits together across a line break or another byte "
             "that ends no class";
    case ClassMark::kNone:
      break;
  }
  return "";
}

std::string ExtraClasses(const SentenceClasses& classes) {
  const std::size_t count = classes.extra_classes;
  return (classes.extra_all_counted ? "" : "at least ") + std::to_string(count) +
         (count == 1 ? " extra class" : " extra classes");
}

std::string Joined(const std::vector<std::string>& tokens) {
  std::string joined;
  for (const std::string& token : tokens) joined += (joined.empty() ? "" : " ") + token;
  return joined;
}

void WriteTsv(SegmentedText& text, const SentenceClasses* classes, std::ostream& out) {
  out << "number\tbegins_paragraph\tends_paragraph\tword_count\t" << (classes ? "class\tmark\t" : "")
      << "text\tkeys\twords\tstems\n";
  SentenceTokenizer words(text.run(), text.bytes(), TokenForm::kWords);
  SentenceTokenizer stems(text.run(), text.bytes(), TokenForm::kStems);
  for (std::size_t i = 0; i < text.size(); ++i) {
    out << i + 1 << '\t' << text.BeginsParagraph(i) << '\t' << text.EndsParagraph(i) << '\t'
        << text.run().sentence_list[i].WordCount << '\t';
    if (classes) out << classes->classes[i] << '\t' << MarkName(MarkAt(*classes, i + 1)) << '\t';
    out << text.Original(i) << '\t' << text.Keys(i) << '\t' << Joined(words.Tokens(i)) << '\t'
        << Joined(stems.Tokens(i)) << '\n';
  }
  if (classes && classes->extra_classes > 0) out << "\t\t\t\t\t" << ExtraClasses(*classes) << "\t\t\t\t\n";
}

void WriteText(SegmentedText& text, const SentenceClasses* classes, std::ostream& out) {
  const auto number_width = static_cast<int>(std::to_string(text.size()).size());
  std::size_t class_width = 1;
  if (classes) {
    for (const std::string& sentence_class : classes->classes) class_width = std::max(class_width, sentence_class.size());
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (classes) {
      if (ClassMark mark = MarkAt(*classes, i + 1); mark != ClassMark::kNone) out << ">>>> " << MarkLine(mark) << '\n';
    }
    out << std::setw(number_width) << i + 1 << ' ' << (text.BeginsParagraph(i) ? '[' : ' ')
        << (text.EndsParagraph(i) ? ']' : ' ') << ' ';
    if (classes) {
      const std::string& sentence_class = classes->classes[i];
      out << std::left << std::setw(static_cast<int>(class_width)) << (sentence_class.empty() ? "-" : sentence_class)
          << std::right << ' ';
    }
    out << text.Original(i) << '\n';
  }
  if (classes && classes->extra_classes > 0) {
    out << ">>>> " << ExtraClasses(*classes)
        << ": the classes file goes on after the last sentence's class\n";
  }
}

}  // namespace

void WriteSentenceListing(SegmentedText& text, const SentenceClasses* classes, ListingFormat format,
                          std::ostream& out) {
  if (format == ListingFormat::kTsv) {
    WriteTsv(text, classes, out);
  } else {
    WriteText(text, classes, out);
  }
}

}  // namespace casewright
