// The exchange document: the XML file through which Escolia hands its data
// over and takes the timetable back.
//
// An ExchangeDocument is loaded from a file (or from bytes, for tests). The
// export steps read its lists: a list is every `listasal` child of every
// `listasal` child of /SERVICIO/SALIDAS whose `seq` equals the list's name
// exactly, in document order; two lists of one name act as one. A field is a
// `salida` child of an entry. The import run replaces the output section and
// saves the result document.
//
// Loading never yields a silently empty document: an empty file, a file in
// an unknown encoding, and a file that is not well-formed XML raise
// DocumentError naming the file, the position and the reason. Documents
// nested deeper than kMaxDepth levels are refused too. The five predefined
// entities and character references are read as the characters they stand
// for; entities that a DOCTYPE defines are not expanded and no external
// entity is fetched: such a reference stays in the text as written, so a
// document cannot grow while it loads. Line ends in texts read as "\n".
//
// Saving keeps the input's encoding, byte order mark and declaration, and
// writes every byte outside the output section exactly as loaded (comments,
// processing instructions, DOCTYPE, whitespace, line ends, quoting and
// references included). Only the output section returned by
// ReplaceOutputSection, and elements added to the document element, are
// written from the tree, without indentation (empty elements as "<a/>",
// attribute values in double quotes, "&amp;", "&lt;", "&gt;" and "&quot;"
// where needed); this holds also for what a kept output section held before.
// Changes made through node handles anywhere else are not saved. Saving is atomic: the text goes to a
// temporary file beside the target, which is then renamed over it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

namespace enlacor {

// A failure of the document service; its message is for the user (Spanish).
class DocumentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The character encodings a document may be declared in. Saving writes the
// encoding the document was loaded in.
enum class DocumentEncoding { kUtf8, kUtf16LE, kUtf16BE, kLatin1, kWindows1252 };

// One field of an entry: a `salida` element.
class Field {
 public:
  explicit Field(pugi::xml_node node) : node_(node) {}
  // All the text inside the element (CDATA and nested elements' text
  // included, as XPath string() gives it), untrimmed, UTF-8.
  std::string Text() const;
  // The value of the `dato` attribute; nullopt when the field has none.
  std::optional<std::string> Dato() const;

 private:
  pugi::xml_node node_;
};

// One entry of a list: a `listasal` element holding `salida` fields.
class Entry {
 public:
  explicit Entry(pugi::xml_node node);
  std::size_t FieldCount() const { return fields_.size(); }
  // Field k (from 0); nullopt when the entry has no field k.
  std::optional<Field> FieldAt(std::size_t k) const;
  const std::vector<Field>& Fields() const { return fields_; }

 private:
  std::vector<Field> fields_;
};

class ExchangeDocument {
 public:
  // Elements nested deeper than this are refused on loading.
  static constexpr std::size_t kMaxDepth = 1000;

  // Loads the file. Raises DocumentError when the file cannot be read, when
  // it is empty, when its encoding is unknown or its bytes are not valid in
  // it, or when it is not well-formed XML.
  static ExchangeDocument Load(const std::filesystem::path& path);
  // Parses bytes as if read from a file named `name` (used in messages).
  static ExchangeDocument Parse(std::string_view bytes, const std::string& name = "documento");

  ExchangeDocument(ExchangeDocument&&) noexcept;
  ExchangeDocument& operator=(ExchangeDocument&&) noexcept;
  ~ExchangeDocument();

  // The entries of list `name`, in document order. A root not named
  // SERVICIO, or a missing list, gives no entries.
  std::vector<Entry> SelectEntries(std::string_view list_name) const;

  DocumentEncoding Encoding() const { return encoding_; }
  const std::filesystem::path& Path() const { return path_; }

  // --- The result document (import run) ---

  // Removes the root's first SALIDAS child, appends a new empty SALIDAS as
  // the root's last child, and returns the root's first SALIDAS child, the
  // output section. Raises DocumentError when the root has no SALIDAS child.
  pugi::xml_node ReplaceOutputSection();

  // Appends to `parent` a new element `name` with one attribute and, when
  // `text` is not empty, that text (UTF-8). Returns the new element. Raises
  // DocumentError when `parent` cannot take a child element (a null node).
  static pugi::xml_node AppendElement(pugi::xml_node parent, const char* name,
                                      const char* attribute, std::string_view attribute_value,
                                      std::string_view text = {});

  // The whole document as it would be saved, in its own encoding. A
  // character that a single-byte encoding cannot hold is written as a
  // numeric character reference ("&#8364;").
  std::string Serialize() const;

  // Writes Serialize() to `target` through a temporary file in the same
  // directory renamed over the target. On failure the target is untouched,
  // no temporary file is left, and DocumentError names the target. The
  // loaded file itself is never written: a target that is that file is
  // refused.
  void Save(const std::filesystem::path& target) const;

  // The result file name of an input: its directory, "ResultadoHorvana",
  // then its file name with extension.
  static std::filesystem::path ResultFileName(const std::filesystem::path& input);

 private:
  ExchangeDocument();

  std::unique_ptr<pugi::xml_document> doc_;
  DocumentEncoding encoding_ = DocumentEncoding::kUtf8;
  bool byte_order_mark_ = false;
  std::filesystem::path path_;
  std::string name_;          // the document as messages name it
  std::string source_;        // the loaded text, UTF-8; node offsets index it
  pugi::xml_node output_;     // the output section, once replaced
  bool output_replaced_ = false;
};

}  // namespace enlacor
