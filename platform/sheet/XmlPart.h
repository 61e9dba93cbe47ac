// Reading and writing the XML parts of a workbook with pugixml. Producers
// differ in namespace prefixes ("x:sheetData"), so elements and attributes
// are matched by their local name.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace wexal::sheet {

// Throws SheetError (kErrorDamaged) naming the part when it is no XML.
void ParseXmlPart(pugi::xml_document& document, std::string_view text, const std::string& partName);
// The same without a copy of the text: the document is built in it, so the
// text must stay, unchanged by anything else, as long as the document.
void ParseXmlPartInPlace(pugi::xml_document& document, std::string& text,
                         const std::string& partName);
// UTF-8 text that may hold several elements and text between them, read
// as a part is; false when it is no sound XML.
bool ParseXmlFragment(pugi::xml_document& document, std::string_view text);
// The document as UTF-8 bytes, with its own declaration kept.
std::string SerializeXmlPart(const pugi::xml_document& document);

std::string_view LocalName(const char* qualifiedName);
bool HasLocalName(pugi::xml_node node, std::string_view localName);
// The first child element with that local name, or an empty node.
pugi::xml_node ChildByLocalName(pugi::xml_node parent, std::string_view localName);
// The first attribute with that local name, or an empty attribute.
pugi::xml_attribute AttributeByLocalName(pugi::xml_node node, std::string_view localName);
// "x:" for an element named "x:sheetData", else empty: new elements beside it
// take the same prefix.
std::string PrefixOf(pugi::xml_node node);

}  // namespace wexal::sheet
