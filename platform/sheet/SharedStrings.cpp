#include "platform/sheet/SharedStrings.h"

#include "platform/sheet/OoxmlText.h"
#include "platform/sheet/XmlPart.h"

namespace wexal::sheet {

std::string StringItemText(pugi::xml_node item) {
    std::string text;
    for (pugi::xml_node child : item.children()) {
        if (HasLocalName(child, "t")) {
            text += child.child_value();
        } else if (HasLocalName(child, "r")) {
            text += ChildByLocalName(child, "t").child_value();
        }
    }
    return DecodeEscapes(text);
}

std::vector<std::string> ParseSharedStrings(std::string_view xml, const std::string& partName) {
    pugi::xml_document document;
    ParseXmlPart(document, xml, partName);
    std::vector<std::string> strings;
    for (pugi::xml_node item : ChildByLocalName(document, "sst").children()) {
        if (HasLocalName(item, "si")) {
            strings.push_back(StringItemText(item));
        }
    }
    return strings;
}

}  // namespace wexal::sheet
