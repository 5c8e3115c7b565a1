#include "exchange/xml_source_scan.h"

#include <algorithm>

namespace enlacor {
namespace {

// The offset just past the first `terminator` at or after `from`, or the
// end of the text when there is none.
std::size_t PastTerminator(std::string_view xml, std::size_t from, std::string_view terminator) {
  const std::size_t found = xml.find(terminator, from);
  return found == std::string_view::npos ? xml.size() : found + terminator.size();
}

bool StartsWithAt(std::string_view xml, std::size_t at, std::string_view prefix) {
  return xml.substr(at, prefix.size()) == prefix;
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Comments, CDATA sections and processing instructions: markup that nests
// nothing. Gives the offset past the one at `at`, or nullopt when there is
// none there.
std::optional<std::size_t> FlatMarkupEnd(std::string_view xml, std::size_t at) {
  if (StartsWithAt(xml, at, "<!--")) return PastTerminator(xml, at + 4, "-->");
  if (StartsWithAt(xml, at, "<![CDATA[")) return PastTerminator(xml, at + 9, "]]>");
  if (StartsWithAt(xml, at, "<?")) return PastTerminator(xml, at + 2, "?>");
  return std::nullopt;
}

// The offset past a DOCTYPE declaration, internal subset included. nullopt
// when a ">" that closes no markup declaration comes while the internal
// subset is still open: the parser ends the DOCTYPE there and lets it
// through, though it is not well-formed, and the text after it would then
// be read differently here and by the parser.
std::optional<std::size_t> DoctypeEnd(std::string_view xml, std::size_t at) {
  int brackets = 0;
  int declarations = 0;  // open "<!ENTITY ...>" and the like inside the subset
  for (std::size_t i = at + 2; i < xml.size(); ++i) {
    const char c = xml[i];
    if (c == '"' || c == '\'') {
      i = PastTerminator(xml, i + 1, std::string_view(&c, 1)) - 1;
    } else if (auto end = brackets > 0 ? FlatMarkupEnd(xml, i) : std::nullopt) {
      i = *end - 1;
    } else if (c == '[') {
      ++brackets;
    } else if (c == ']') {
      --brackets;
    } else if (c == '<' && brackets > 0) {
      ++declarations;
    } else if (c == '>' && declarations > 0) {
      --declarations;
    } else if (c == '>') {
      if (brackets == 0) return i + 1;
      return std::nullopt;
    }
  }
  return xml.size();
}

}  // namespace

std::string DescribePosition(std::string_view text, std::size_t offset) {
  if (offset > text.size()) offset = text.size();
  std::size_t line = 1;
  std::size_t column = 1;
  for (std::size_t i = 0; i < offset; ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      ++column;
    }
  }
  return "línea " + std::to_string(line) + ", columna " + std::to_string(column);
}

std::size_t StartTagEnd(std::string_view xml, std::size_t lt) {
  for (std::size_t i = lt + 1; i < xml.size(); ++i) {
    const char c = xml[i];
    if (c == '"' || c == '\'') {
      i = PastTerminator(xml, i + 1, std::string_view(&c, 1)) - 1;
    } else if (c == '>') {
      return i + 1;
    }
  }
  return xml.size();
}

std::size_t NodeEnd(std::string_view xml, std::size_t start) {
  std::size_t depth = 0;
  std::size_t i = start;
  while (i < xml.size()) {
    if (xml[i] != '<') {
      i = std::min(xml.find('<', i), xml.size());
    } else if (auto end = FlatMarkupEnd(xml, i)) {
      i = *end;
    } else if (StartsWithAt(xml, i, "</")) {
      i = PastTerminator(xml, i, ">");
      if (depth > 0) --depth;
    } else {
      const std::size_t tag_end = StartTagEnd(xml, i);
      const bool empty_element = tag_end >= 2 && xml[tag_end - 2] == '/';
      if (!empty_element) ++depth;
      i = tag_end;
    }
    if (depth == 0) return i;
  }
  return xml.size();
}

std::optional<TopLevelProblem> FindTopLevelProblem(std::string_view xml) {
  int elements = 0;
  std::size_t i = 0;
  while (true) {
    while (i < xml.size() && IsXmlSpace(xml[i])) ++i;
    if (i >= xml.size()) return std::nullopt;
    if (xml[i] != '<') return TopLevelProblem{i, "hay texto fuera del elemento raíz"};
    if (auto end = FlatMarkupEnd(xml, i)) {
      i = *end;
    } else if (StartsWithAt(xml, i, "<!DOCTYPE")) {
      const auto end = DoctypeEnd(xml, i);
      if (!end) return TopLevelProblem{i, "la declaración DOCTYPE no cierra su subconjunto interno"};
      i = *end;
    } else if (++elements > 1) {
      return TopLevelProblem{i, "hay más de un elemento raíz"};
    } else {
      i = NodeEnd(xml, i);
    }
  }
}

}  // namespace enlacor
