#include "exchange/exchange_document.h"

// Placeholder until the document service is written.
namespace enlacor {
std::string Field::Text() const { return node_.text().get(); }
std::optional<std::string> Field::Dato() const { return std::nullopt; }
Entry::Entry(pugi::xml_node node) { for (auto f : node.children("salida")) fields_.emplace_back(f); }
std::optional<Field> Entry::FieldAt(std::size_t k) const { if (k < fields_.size()) return fields_[k]; return std::nullopt; }
ExchangeDocument::ExchangeDocument() : doc_(std::make_unique<pugi::xml_document>()) {}
ExchangeDocument::ExchangeDocument(ExchangeDocument&&) noexcept = default;
ExchangeDocument& ExchangeDocument::operator=(ExchangeDocument&&) noexcept = default;
ExchangeDocument::~ExchangeDocument() = default;
ExchangeDocument ExchangeDocument::Load(const std::filesystem::path& path) { ExchangeDocument d; d.doc_->load_file(path.c_str()); d.path_ = path; return d; }
ExchangeDocument ExchangeDocument::Parse(std::string_view bytes, const std::string&) { ExchangeDocument d; d.doc_->load_buffer(bytes.data(), bytes.size()); return d; }
std::vector<Entry> ExchangeDocument::SelectEntries(std::string_view) const { return {}; }
pugi::xml_node ExchangeDocument::ReplaceOutputSection() { return {}; }
pugi::xml_node ExchangeDocument::AppendElement(pugi::xml_node parent, const char* name, const char*, std::string_view, std::string_view) { return parent.append_child(name); }
std::string ExchangeDocument::Serialize() const { return {}; }
void ExchangeDocument::Save(const std::filesystem::path&) const {}
std::filesystem::path ExchangeDocument::ResultFileName(const std::filesystem::path& input) { return input.parent_path() / ("ResultadoHorvana" + input.filename().string()); }
}  // namespace enlacor
