#include "summary/methods/lsa.h"

#include <Eigen/SVD>
#include <cmath>

#include "absl/container/flat_hash_map.h"

namespace casewright {
namespace {

Eigen::MatrixXd ToEigen(const std::vector<std::vector<double>>& rows, std::size_t columns) {
  Eigen::MatrixXd matrix(static_cast<Eigen::Index>(rows.size()), static_cast<Eigen::Index>(columns));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < columns; ++c) matrix(r, c) = rows[r][c];
  }
  return matrix;
}

}  // namespace

std::vector<std::vector<double>> TermSentenceMatrix(const SentenceTokens& content) {
  absl::flat_hash_map<TokenId, std::size_t> row_of;
  std::vector<std::vector<double>> matrix;
  for (std::size_t s = 0; s < content.size(); ++s) {
    for (TokenId token : content[s]) {
      const auto [at, added] = row_of.try_emplace(token, matrix.size());
      if (added) matrix.emplace_back(content.size(), 0.0);
      matrix[at->second][s] = 1.0;
    }
  }
  return matrix;
}

std::vector<double> SingularValues(const std::vector<std::vector<double>>& matrix) {
  if (matrix.empty()) return {};
  const Eigen::BDCSVD<Eigen::MatrixXd> svd(ToEigen(matrix, matrix[0].size()));
  const Eigen::VectorXd& values = svd.singularValues();
  return {values.data(), values.data() + values.size()};
}

std::vector<double> Lsa::Scores(const MethodText& text) const {
  const std::vector<std::vector<double>> rows = TermSentenceMatrix(ContentTokens(text));
  std::vector<double> scores(text.tokens.size(), 0.0);
  if (rows.empty()) return scores;  // only stopwords: nothing tells the sentences apart
  const Eigen::BDCSVD<Eigen::MatrixXd> svd(ToEigen(rows, scores.size()), Eigen::ComputeThinV);
  const Eigen::VectorXd& sigma = svd.singularValues();
  const Eigen::MatrixXd& v = svd.matrixV();
  for (Eigen::Index k = 0; k < sigma.size() && sigma(k) >= sigma(0) / 2 && sigma(0) > 0; ++k) {
    for (std::size_t i = 0; i < scores.size(); ++i) {
      const double weighted = sigma(k) * v(static_cast<Eigen::Index>(i), k);
      scores[i] += weighted * weighted;
    }
  }
  for (double& score : scores) score = std::sqrt(score);
  return scores;
}

}  // namespace casewright
