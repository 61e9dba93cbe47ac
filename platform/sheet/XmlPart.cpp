#include "platform/sheet/XmlPart.h"

#include <cstring>

#include <strings.h>

#include "platform/sheet/SheetError.h"

namespace wexal::sheet {

namespace {

// Whitespace that is a text's only content stays (a blank in <t> </t> is
// the cell's text); comments and processing instructions are kept so that a
// part written back loses nothing.
constexpr unsigned kParseFlags = pugi::parse_cdata | pugi::parse_escapes |
                                 pugi::parse_wconv_attribute | pugi::parse_declaration |
                                 pugi::parse_doctype | pugi::parse_pi | pugi::parse_comments |
                                 pugi::parse_ws_pcdata_single | pugi::parse_embed_pcdata;

}  // namespace

namespace {

void CheckParsed(const pugi::xml_parse_result& result, const std::string& partName) {
    if (!result) {
        throw SheetError(kErrorDamaged, "The part " + partName +
                                            " is damaged: " + result.description() + " at offset " +
                                            std::to_string(result.offset));
    }
}

// Collects the written text in one string of the size counted before.
class StringWriter : public pugi::xml_writer {
  public:
    explicit StringWriter(std::string* text) : text_(text) {}
    void write(const void* data, std::size_t size) override {
        if (text_ != nullptr) {
            text_->append(static_cast<const char*>(data), size);
        }
        size_ += size;
    }
    std::size_t Size() const { return size_; }

  private:
    std::string* text_;
    std::size_t size_ = 0;
};

}  // namespace

void ParseXmlPart(pugi::xml_document& document, std::string_view text,
                  const std::string& partName) {
    CheckParsed(document.load_buffer(text.data(), text.size(), kParseFlags, pugi::encoding_auto),
                partName);
}

void ParseXmlPartInPlace(pugi::xml_document& document, std::string& text,
                         const std::string& partName) {
    CheckParsed(
        document.load_buffer_inplace(text.data(), text.size(), kParseFlags, pugi::encoding_auto),
        partName);
}

bool ParseXmlFragment(pugi::xml_document& document, std::string_view text) {
    return document.load_buffer(text.data(), text.size(), kParseFlags | pugi::parse_fragment,
                                pugi::encoding_utf8);
}

std::string SerializeXmlPart(const pugi::xml_document& document) {
    // The text is written as UTF-8, so a declaration naming another encoding
    // would lie about it.
    pugi::xml_node declaration = document.first_child();
    if (declaration.type() == pugi::node_declaration) {
        pugi::xml_attribute encoding = declaration.attribute("encoding");
        if (encoding && strcasecmp(encoding.value(), "UTF-8") != 0) {
            encoding.set_value("UTF-8");
        }
    }
    // Counted first, so that a large part is held once, not while its
    // buffer grows.
    StringWriter counter(nullptr);
    document.save(counter, "", pugi::format_raw, pugi::encoding_utf8);
    std::string text;
    text.reserve(counter.Size());
    StringWriter writer(&text);
    document.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return text;
}

std::string_view LocalName(const char* qualifiedName) {
    const char* colon = std::strrchr(qualifiedName, ':');
    return colon == nullptr ? qualifiedName : colon + 1;
}

bool HasLocalName(pugi::xml_node node, std::string_view localName) {
    return node.type() == pugi::node_element && LocalName(node.name()) == localName;
}

pugi::xml_node ChildByLocalName(pugi::xml_node parent, std::string_view localName) {
    for (pugi::xml_node child : parent.children()) {
        if (HasLocalName(child, localName)) {
            return child;
        }
    }
    return {};
}

pugi::xml_attribute AttributeByLocalName(pugi::xml_node node, std::string_view localName) {
    for (pugi::xml_attribute attribute : node.attributes()) {
        if (LocalName(attribute.name()) == localName) {
            return attribute;
        }
    }
    return {};
}

std::string PrefixOf(pugi::xml_node node) {
    const std::string_view name = node.name();
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? std::string() : std::string(name.substr(0, colon + 1));
}

}  // namespace wexal::sheet
