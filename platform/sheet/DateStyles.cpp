#include "platform/sheet/DateStyles.h"

#include <cctype>
#include <cstdlib>
#include <map>

#include <pugixml.hpp>

#include "platform/sheet/XmlPart.h"

namespace wexal::sheet {

namespace {

// The built-in formats that show dates and times (the ones between 27 and
// 58 are the East Asian date forms).
bool IsBuiltInDateFormat(std::uint32_t id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58);
}

bool IsElapsedTime(std::string_view bracketed) {
    if (bracketed.empty()) {
        return false;
    }
    const char first = static_cast<char>(std::tolower(static_cast<unsigned char>(bracketed[0])));
    if (first != 'h' && first != 'm' && first != 's') {
        return false;
    }
    for (char c : bracketed) {
        if (std::tolower(static_cast<unsigned char>(c)) != first) {
            return false;
        }
    }
    return true;
}

std::uint32_t NumberAttribute(pugi::xml_node node, const char* name) {
    return static_cast<std::uint32_t>(std::strtoul(node.attribute(name).value(), nullptr, 10));
}

}  // namespace

bool IsDateFormatCode(std::string_view code) {
    for (std::size_t at = 0; at < code.size(); ++at) {
        const char c = code[at];
        if (c == '"') {
            const std::size_t end = code.find('"', at + 1);
            at = end == std::string_view::npos ? code.size() : end;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++at;  // the next character is shown or repeated, not a code
        } else if (c == '[') {
            const std::size_t end = code.find(']', at + 1);
            const std::string_view inside = code.substr(
                at + 1, end == std::string_view::npos ? std::string_view::npos : end - at - 1);
            if (IsElapsedTime(inside)) {
                return true;
            }
            at = end == std::string_view::npos ? code.size() : end;
        } else {
            switch (std::tolower(static_cast<unsigned char>(c))) {
                case 'd':
                case 'm':
                case 'y':
                case 'h':
                case 's':
                    return true;
                default:
                    break;
            }
        }
    }
    return false;
}

DateStyles::DateStyles(std::string_view stylesXml, const std::string& partName) {
    pugi::xml_document document;
    ParseXmlPart(document, stylesXml, partName);
    const pugi::xml_node styleSheet = ChildByLocalName(document, "styleSheet");

    std::map<std::uint32_t, bool> customFormats;
    for (pugi::xml_node format : ChildByLocalName(styleSheet, "numFmts").children()) {
        if (HasLocalName(format, "numFmt")) {
            customFormats[NumberAttribute(format, "numFmtId")] =
                IsDateFormatCode(format.attribute("formatCode").value());
        }
    }
    for (pugi::xml_node style : ChildByLocalName(styleSheet, "cellXfs").children()) {
        if (!HasLocalName(style, "xf")) {
            continue;
        }
        const std::uint32_t id = NumberAttribute(style, "numFmtId");
        const auto custom = customFormats.find(id);
        dateStyles_.push_back(custom != customFormats.end() ? custom->second
                                                            : IsBuiltInDateFormat(id));
    }
}

bool DateStyles::IsDate(std::uint32_t styleIndex) const {
    return styleIndex < dateStyles_.size() && dateStyles_[styleIndex];
}

}  // namespace wexal::sheet
