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

// The offset past an ignored section "<![ ... ]]>" at `at`, nested ones
// included.
std::size_t IgnoredSectionEnd(std::string_view xml, std::size_t at) {
  int depth = 0;
  for (std::size_t i = at + 3; i < xml.size();) {
    if (StartsWithAt(xml, i, "<![")) {
      ++depth;
      i += 3;
    } else if (StartsWithAt(xml, i, "]]>")) {
      if (depth-- == 0) return i + 3;
      i += 3;
    } else {
      ++i;
    }
  }
  return xml.size();
}

// The offset past a DOCTYPE declaration, found as the parser finds it: the
// first ">" that closes no markup declaration ("<!ENTITY ...>" and the
// like), with quoted strings, comments, processing instructions and ignored
// sections skipped. nullopt when the square brackets of the internal subset
// do not pair up before that ">": the parser lets such a declaration through
// though it is not well-formed.
std::optional<std::size_t> DoctypeEnd(std::string_view xml, std::size_t at) {
  int declarations = 0;
  int brackets = 0;
  for (std::size_t i = at + 2; i < xml.size();) {
    const char c = xml[i];
    if (c == '"' || c == '\'') {
      i = PastTerminator(xml, i + 1, std::string_view(&c, 1));
    } else if (StartsWithAt(xml, i, "<![")) {
      i = IgnoredSectionEnd(xml, i);
    } else if (StartsWithAt(xml, i, "<!--")) {
      i = PastTerminator(xml, i + 4, "-->");
    } else if (StartsWithAt(xml, i, "<?")) {
      i = PastTerminator(xml, i + 2, "?>");
    } else if (StartsWithAt(xml, i, "<!")) {
      ++declarations;
      i += 2;
    } else if (c == '>' && declarations == 0) {
      if (brackets != 0) return std::nullopt;
      return i + 1;
    } else {
      if (c == '>') --declarations;
      if (c == '[') ++brackets;
      if (c == ']' && --brackets < 0) return std::nullopt;
      ++i;
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
      if (!end) return TopLevelProblem{i, "los corchetes de la declaración DOCTYPE no se corresponden"};
      i = *end;
    } else if (++elements > 1) {
      return TopLevelProblem{i, "hay más de un elemento raíz"};
    } else {
      i = NodeEnd(xml, i);
    }
  }
}

}  // namespace enlacor
