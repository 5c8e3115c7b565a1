// Finding nodes in the text of a document that the parser has already
// accepted as well-formed.
//
// The document service writes the parts of a document it did not change as
// the very bytes it loaded; for that it needs where each node begins and
// ends in the loaded text. The scans here assume well-formed input: on text
// that is not, they stop at the end of the text instead of failing. They
// never recurse, so a deeply nested document cannot exhaust the stack.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace enlacor {

// The line and the column (both from 1, the column in characters) of byte
// `offset` of UTF-8 text, as "línea L, columna C".
std::string DescribePosition(std::string_view text, std::size_t offset);

// The offset just past the start tag whose "<" is at `lt`.
std::size_t StartTagEnd(std::string_view xml, std::size_t lt);

// The offset just past the node that begins at `start`: a text run, a
// comment, a CDATA section, a processing instruction, or an element with
// all its content and its end tag.
std::size_t NodeEnd(std::string_view xml, std::size_t start);

// What the parser lets through at the top level of a document though it is
// not well-formed: text outside the document element, or a second document
// element. Gives the offset of the first such problem and its reason.
struct TopLevelProblem {
  std::size_t offset;
  const char* reason;
};
std::optional<TopLevelProblem> FindTopLevelProblem(std::string_view xml);

}  // namespace enlacor
