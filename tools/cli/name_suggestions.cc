#include "name_suggestions.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace vanta::cli {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Insertions, deletions, substitutions and swaps of neighbours.
std::size_t edit_distance(const std::string& a, const std::string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) {
        d[i][0] = i;
    }
    for (std::size_t j = 0; j <= b.size(); ++j) {
        d[0][j] = j;
    }
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

}  // namespace

std::vector<std::string> close_names(const std::string& word,
                                     const std::vector<std::string>& known) {
    constexpr std::size_t kMostShown = 5;
    const std::string wanted = lower(word);
    const std::size_t tolerated = std::max<std::size_t>(2, wanted.size() / 3);
    std::vector<std::pair<std::size_t, std::string>> scored;
    for (const auto& name : known) {
        const std::string candidate = lower(name);
        std::size_t distance = edit_distance(wanted, candidate);
        const bool contained = wanted.size() >= 3 && (candidate.find(wanted) != std::string::npos ||
                                                      wanted.find(candidate) != std::string::npos);
        if (distance <= tolerated || contained) {
            scored.emplace_back(distance, name);
        }
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (std::size_t i = 0; i < scored.size() && i < kMostShown; ++i) {
        names.push_back(scored[i].second);
    }
    return names;
}

std::string unknown_name_text(const std::string& kind, const std::string& word,
                              const std::vector<std::string>& known, const std::string& fallback) {
    std::string text = "unknown " + kind + " '" + word + "'";
    const auto names = close_names(word, known);
    if (names.empty()) {
        return text + "; " + fallback;
    }
    text += "; close names: ";
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : ", ") + names[i];
    }
    return text;
}

}  // namespace vanta::cli
