#pragma once

// Reading the table's text files line by line: what the numbers and the layout share.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dosat::table::text {

inline void setError(std::string* error, std::string message) {
  if (error) *error = std::move(message);
}

inline std::string_view trimmed(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

/// The lines of `text`, without their line ends.
inline std::vector<std::string_view> lines(std::string_view text) {
  std::vector<std::string_view> out;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    out.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return out;
}

/// `line` cut at each `separator` into at most `limit` fields, the last one holding the rest.
inline std::vector<std::string_view> fields(std::string_view line, char separator,
                                     std::size_t limit = std::string_view::npos) {
  std::vector<std::string_view> out;
  while (out.size() + 1 < limit) {
    const std::size_t at = line.find(separator);
    if (at == std::string_view::npos) break;
    out.push_back(line.substr(0, at));
    line.remove_prefix(at + 1);
  }
  out.push_back(line);
  return out;
}

}  // namespace dosat::table::text
