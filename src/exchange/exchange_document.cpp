#include "exchange/exchange_document.h"

#include <cstring>
#include <system_error>
#include <utility>

#include "exchange/document_encoding.h"
#include "exchange/document_file.h"
#include "exchange/xml_source_scan.h"

namespace enlacor {
namespace {

// Comments, processing instructions, the declaration and the DOCTYPE become
// nodes, and so does whitespace between elements: together the nodes cover
// every byte of the document element's content.
constexpr unsigned kParseOptions = pugi::parse_full | pugi::parse_ws_pcdata;

std::string Quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

const char* ReasonOf(pugi::xml_parse_status status) {
  switch (status) {
    case pugi::status_out_of_memory: return "no hay memoria suficiente";
    case pugi::status_unrecognized_tag: return "etiqueta no reconocida";
    case pugi::status_bad_pi: return "instrucción de procesamiento mal formada";
    case pugi::status_bad_comment: return "comentario mal formado";
    case pugi::status_bad_cdata: return "sección CDATA mal formada";
    case pugi::status_bad_doctype: return "declaración DOCTYPE mal formada";
    case pugi::status_bad_pcdata: return "texto mal formado";
    case pugi::status_bad_start_element: return "etiqueta de apertura mal formada";
    case pugi::status_bad_attribute: return "atributo mal formado";
    case pugi::status_bad_end_element: return "etiqueta de cierre mal formada";
    case pugi::status_end_element_mismatch:
      return "una etiqueta de cierre no corresponde a la de apertura, o falta";
    case pugi::status_no_document_element: return "no hay elemento raíz";
    default: return "error de análisis";
  }
}

DocumentError NotWellFormed(const std::string& name, std::string_view text, std::size_t offset,
                            std::string_view reason) {
  return DocumentError("El documento " + Quoted(name) + " no es XML bien formado (" +
                       DescribePosition(text, offset) + "): " + std::string(reason) + ".");
}

// Calls visit(node, depth) for every node below `top` in document order,
// `depth` counting from 1 for the children of `top`, and stops when visit
// gives false. Does not recurse.
template <typename Visit>
void VisitDescendants(pugi::xml_node top, Visit visit) {
  std::size_t depth = 1;
  for (pugi::xml_node node = top.first_child(); node;) {
    if (!visit(node, depth)) return;
    if (node.first_child()) {
      node = node.first_child();
      ++depth;
      continue;
    }
    while (!node.next_sibling()) {
      node = node.parent();
      --depth;
      if (node == top) return;
    }
    node = node.next_sibling();
  }
}

void CheckDepth(const pugi::xml_document& doc, std::string_view text, const std::string& name) {
  VisitDescendants(doc, [&](pugi::xml_node node, std::size_t depth) {
    if (depth <= ExchangeDocument::kMaxDepth) return true;
    const std::ptrdiff_t offset = node.offset_debug();
    throw NotWellFormed(name, text, offset < 0 ? 0 : static_cast<std::size_t>(offset),
                        "los elementos se anidan a más de " +
                            std::to_string(ExchangeDocument::kMaxDepth) + " niveles");
  });
}

// Raises DocumentError unless the parse succeeded on a well-formed document.
void CheckWellFormed(const pugi::xml_parse_result& result, std::string_view text,
                     const std::string& name) {
  if (!result) {
    throw NotWellFormed(name, text, static_cast<std::size_t>(result.offset),
                        ReasonOf(result.status));
  }
  if (auto problem = FindTopLevelProblem(text)) {
    throw NotWellFormed(name, text, problem->offset, problem->reason);
  }
}

// Collects what pugixml writes into a string.
class StringWriter : public pugi::xml_writer {
 public:
  void write(const void* data, std::size_t size) override {
    text.append(static_cast<const char*>(data), size);
  }
  std::string text;
};

std::string Printed(pugi::xml_node node) {
  StringWriter writer;
  node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
  return std::move(writer.text);
}

// Where `node` stands in the loaded text; nullopt for a node created since
// loading.
struct SourceRange {
  std::size_t begin;
  std::size_t end;
};
std::optional<SourceRange> SourceRangeOf(pugi::xml_node node, std::string_view source) {
  const std::ptrdiff_t offset = node.offset_debug();  // where the name or value begins
  std::string_view opening;
  switch (node.type()) {
    case pugi::node_element: opening = "<"; break;
    case pugi::node_pcdata: opening = ""; break;
    case pugi::node_cdata: opening = "<![CDATA["; break;
    case pugi::node_comment: opening = "<!--"; break;
    case pugi::node_pi: opening = "<?"; break;
    default: return std::nullopt;
  }
  if (offset < static_cast<std::ptrdiff_t>(opening.size())) return std::nullopt;
  const std::size_t begin = static_cast<std::size_t>(offset) - opening.size();
  if (source.substr(begin, opening.size()) != opening) return std::nullopt;
  return SourceRange{begin, NodeEnd(source, begin)};
}

// The loaded text with the document element's content rebuilt: children
// that stand in the loaded text are copied from it, the output section and
// new nodes are printed from the tree.
std::string TextWithNewOutput(std::string_view source, const pugi::xml_document& doc,
                              pugi::xml_node output) {
  const pugi::xml_node root = doc.document_element();
  const std::optional<SourceRange> root_range = SourceRangeOf(root, source);
  const std::size_t content_begin = root_range ? StartTagEnd(source, root_range->begin) : 0;
  if (!root_range || source[content_begin - 2] == '/') {
    // No content in the loaded text to splice into: print the whole tree.
    StringWriter writer;
    doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return std::move(writer.text);
  }
  const std::size_t end_tag_begin = source.rfind("</", root_range->end - 1);

  std::string text(source.substr(0, content_begin));
  for (pugi::xml_node child : root.children()) {
    const std::optional<SourceRange> range =
        child == output ? std::nullopt : SourceRangeOf(child, source);
    text += range ? source.substr(range->begin, range->end - range->begin) : Printed(child);
  }
  text += source.substr(end_tag_begin);
  return text;
}

// All the text inside `node` in document order, as XPath string() gives it.
std::string TextInside(pugi::xml_node node) {
  std::string text;
  VisitDescendants(node, [&](pugi::xml_node inner, std::size_t) {
    const pugi::xml_node_type type = inner.type();
    if (type == pugi::node_pcdata || type == pugi::node_cdata) text += inner.value();
    return true;
  });
  return text;
}

}  // namespace

std::string Field::Text() const { return TextInside(node_); }

std::optional<std::string> Field::Dato() const {
  const pugi::xml_attribute dato = node_.attribute("dato");
  if (!dato) return std::nullopt;
  return std::string(dato.value());
}

Entry::Entry(pugi::xml_node node) {
  for (pugi::xml_node field : node.children("salida")) fields_.emplace_back(field);
}

std::optional<Field> Entry::FieldAt(std::size_t k) const {
  if (k < fields_.size()) return fields_[k];
  return std::nullopt;
}

ExchangeDocument::ExchangeDocument() : doc_(std::make_unique<pugi::xml_document>()) {}
ExchangeDocument::ExchangeDocument(ExchangeDocument&&) noexcept = default;
ExchangeDocument& ExchangeDocument::operator=(ExchangeDocument&&) noexcept = default;
ExchangeDocument::~ExchangeDocument() = default;

ExchangeDocument ExchangeDocument::Load(const std::filesystem::path& path) {
  ExchangeDocument document = Parse(ReadDocumentFile(path), path.string());
  document.path_ = path;
  return document;
}

ExchangeDocument ExchangeDocument::Parse(std::string_view bytes, const std::string& name) {
  if (bytes.empty()) throw DocumentError("El documento " + Quoted(name) + " está vacío.");
  DecodedDocument decoded = DecodeDocument(bytes, name);

  ExchangeDocument document;
  document.name_ = name;
  document.encoding_ = decoded.encoding;
  document.byte_order_mark_ = decoded.byte_order_mark;
  document.source_ = std::move(decoded.text);
  const std::string& text = document.source_;
  const pugi::xml_parse_result result =
      document.doc_->load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
  CheckWellFormed(result, text, name);
  CheckDepth(*document.doc_, text, name);
  return document;
}

std::vector<Entry> ExchangeDocument::SelectEntries(std::string_view list_name) const {
  std::vector<Entry> entries;
  const pugi::xml_node root = doc_->document_element();
  if (std::strcmp(root.name(), "SERVICIO") != 0) return entries;
  for (pugi::xml_node section : root.children("SALIDAS")) {
    for (pugi::xml_node list : section.children("listasal")) {
      const pugi::xml_attribute seq = list.attribute("seq");
      if (!seq || list_name != seq.value()) continue;
      for (pugi::xml_node entry : list.children("listasal")) entries.emplace_back(entry);
    }
  }
  return entries;
}

pugi::xml_node ExchangeDocument::ReplaceOutputSection() {
  pugi::xml_node root = doc_->document_element();
  const pugi::xml_node first = root.child("SALIDAS");
  if (!first) {
    throw DocumentError("El documento " + Quoted(name_) +
                        " no tiene sección SALIDAS en su elemento raíz.");
  }
  root.remove_child(first);
  root.append_child("SALIDAS");
  output_ = root.child("SALIDAS");
  output_replaced_ = true;
  return output_;
}

pugi::xml_node ExchangeDocument::AppendElement(pugi::xml_node parent, const char* name,
                                               const char* attribute,
                                               std::string_view attribute_value,
                                               std::string_view text) {
  pugi::xml_node element = parent.append_child(name);
  if (!element) {
    throw DocumentError(std::string("No se puede añadir el elemento ") + Quoted(name) +
                        " al documento.");
  }
  element.append_attribute(attribute).set_value(std::string(attribute_value).c_str());
  if (!text.empty()) element.append_child(pugi::node_pcdata).set_value(std::string(text).c_str());
  return element;
}

std::string ExchangeDocument::Serialize() const {
  const std::string text = output_replaced_ ? TextWithNewOutput(source_, *doc_, output_) : source_;
  return EncodeDocument(text, encoding_, byte_order_mark_);
}

void ExchangeDocument::Save(const std::filesystem::path& target) const {
  std::error_code ignored;
  if (!path_.empty() && std::filesystem::equivalent(target, path_, ignored)) {
    throw DocumentError("El documento " + Quoted(target.string()) +
                        " es el documento de entrada y no se sobrescribe.");
  }
  WriteFileAtomically(target, Serialize());
}

std::filesystem::path ExchangeDocument::ResultFileName(const std::filesystem::path& input) {
  return input.parent_path() / ("ResultadoHorvana" + input.filename().string());
}

}  // namespace enlacor
