#include "exchange/dbf_filter.h"

namespace enlacor {
namespace {

constexpr char kQuote = '\'';

bool IsNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return text;
}

// Reads the quoted value at the start of `text` up to its closing quote;
// `rest` receives what follows it.
std::optional<std::string> ReadQuoted(std::string_view text, std::string_view& rest) {
  if (text.empty() || text.front() != kQuote) return std::nullopt;
  std::string value;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] != kQuote) {
      value += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == kQuote) {
      value += kQuote;
      ++i;
    } else {
      rest = text.substr(i + 1);
      return value;
    }
  }
  return std::nullopt;  // no closing quote
}

}  // namespace

std::string BuildFilterExpression(std::string_view column, std::string_view value) {
  std::string expression(column);
  expression += "= '";
  for (char c : value) {
    if (c == kQuote) expression += kQuote;
    expression += c;
  }
  expression += kQuote;
  return expression;
}

std::optional<DbfFilter> ParseFilterExpression(std::string_view expression) {
  std::string_view text = SkipBlanks(expression);
  std::size_t name_length = 0;
  while (name_length < text.size() && IsNameCharacter(text[name_length])) ++name_length;
  if (name_length == 0) return std::nullopt;
  DbfFilter filter{std::string(text.substr(0, name_length)), {}};

  text = SkipBlanks(text.substr(name_length));
  if (text.empty() || text.front() != '=') return std::nullopt;
  std::string_view rest;
  auto value = ReadQuoted(SkipBlanks(text.substr(1)), rest);
  if (!value || !SkipBlanks(rest).empty()) return std::nullopt;
  filter.value = std::move(*value);
  return filter;
}

}  // namespace enlacor
