#pragma once

#include <string>
#include <vector>

namespace vanta::cli {

// The names among `known` that `word` was probably meant to be: those a few
// typing mistakes away and those that contain it (or that it contains),
// ignoring case, closest first, at most five.
std::vector<std::string> close_names(const std::string& word,
                                     const std::vector<std::string>& known);

// "unknown <kind> '<word>'; close names: A, B" (or "; <fallback>" when no
// name is close), the text of a refused name.
std::string unknown_name_text(const std::string& kind, const std::string& word,
                              const std::vector<std::string>& known, const std::string& fallback);

}  // namespace vanta::cli
