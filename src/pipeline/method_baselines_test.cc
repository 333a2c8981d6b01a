#include "pipeline/method_baselines.h"

#include <gtest/gtest.h>

#include "summary/methods/registry.h"
#include "text/classes_file.h"
#include "text/segment.h"
#include "text/segmented_text.h"
#include "testing/memory_tables.h"

namespace casewright {
namespace {

const MemoryTables kTables({}, {"o", "a", "de", "que", "e", "um", "para", "do", "da", "em"}, {"portanto"});

// Each method's choice of a fifth of each bundled text, scored by ROUGE-2
// against the text's classes: none beats the oracle.
TEST(MethodBaselinesTest, TheOracleBoundsEveryMethodOnTheBundledTexts) {
  std::vector<std::string> names;
  for (const MethodInfo& info : Methods()) {
    if (info.name != "feature:N") names.emplace_back(info.name);
  }
  for (int feature = 1; feature <= kFeatureCount; ++feature) names.push_back("feature:" + std::to_string(feature));
  names.emplace_back("oracle");
  const MethodBaselines methods(names);
  for (const char* name : {"example", "faq-debian", "foca-seguranca"}) {
    const std::string path = std::string(CASEWRIGHT_EXAMPLES "/") + name;
    SegmentedText text(path + ".txt", TextEncoding::kWindows1252, kTables);
    TokenVocabulary vocabulary;
    StopwordFlags stopwords;
    const SentenceTokens tokens = TokensOfSentences(text.run(), text.bytes(), {}, vocabulary, &stopwords);
    ClassesFile file(path + ".classes");
    std::vector<bool> flags;
    for (const std::string& c : ReadSentenceClasses(file, text.size()).classes) flags.push_back(c == "1");
    const Reference reference = ExtractReference(tokens, flags);
    const MethodBaselines::Inputs inputs = methods.InputsOf(text.run(), text.bytes(), text.breaks(), std::move(stopwords));
    ASSERT_EQ(inputs.features.size(), text.size());
    const auto choices = methods.Choices({tokens, inputs.stopwords, &inputs.features, &reference},
                                         SentencesAtRate(0.2, text.size()));
    ASSERT_EQ(choices.back().first, "oracle");
    const double oracle = FiguresOf(tokens, choices.back().second, reference).rouge2.f1;
    for (const auto& [method, chosen] : choices) {
      EXPECT_LE(FiguresOf(tokens, chosen, reference).rouge2.f1, oracle) << name << " " << method;
    }
  }
}

// The flags follow the tokens word for word, in every token form: "para"
// and "o" are stopwords, the lone quotation mark gives no token.
TEST(MethodBaselinesTest, StopwordFlagsFollowTheTokens) {
  const std::string text = "Voltou para o \" Porto. O fim.";
  casewright::Run run(kTables, {});
  run.ResetLists();
  SegmentText(run, text);
  for (TokenForm form : {TokenForm::kKeys, TokenForm::kWords, TokenForm::kStems}) {
    TokenVocabulary vocabulary;
    StopwordFlags flags;
    const SentenceTokens tokens = TokensOfSentences(run, text, form, vocabulary, &flags);
    EXPECT_EQ(flags, (StopwordFlags{{false, true, true, false}, {true, false}}));
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0].size(), 4u);
  }
}

}  // namespace
}  // namespace casewright
