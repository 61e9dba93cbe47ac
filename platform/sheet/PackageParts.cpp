#include "platform/sheet/PackageParts.h"

#include <strings.h>

#include <vector>

#include "platform/sheet/XmlPart.h"

namespace wexal::sheet {

namespace {

std::string FolderOf(const std::string& partName) {
    const std::size_t slash = partName.rfind('/');
    return slash == std::string::npos ? std::string() : partName.substr(0, slash + 1);
}

// Joins a relative target to the source's folder and folds "." and "..".
std::string ResolveTarget(const std::string& sourcePart, const std::string& target) {
    const std::string joined =
        !target.empty() && target.front() == '/' ? target.substr(1) : FolderOf(sourcePart) + target;
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= joined.size()) {
        std::size_t end = joined.find('/', start);
        if (end == std::string::npos) {
            end = joined.size();
        }
        const std::string segment = joined.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty()) {
                segments.pop_back();
            }
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string part;
    for (const std::string& segment : segments) {
        part += (part.empty() ? "" : "/") + segment;
    }
    return part;
}

}  // namespace

std::string RelationshipsPartOf(const std::string& partName) {
    const std::size_t slash = partName.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : partName.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? partName : partName.substr(slash + 1);
    return folder + "_rels/" + file + ".rels";
}

bool HasRelationshipType(const Relationship& relationship, std::string_view lastWord) {
    const std::string_view type = relationship.type;
    return type.size() > lastWord.size() &&
           type.substr(type.size() - lastWord.size()) == lastWord &&
           type[type.size() - lastWord.size() - 1] == '/';
}

std::vector<Relationship> ParseRelationships(std::string_view xml, const std::string& sourcePart) {
    pugi::xml_document document;
    ParseXmlPart(document, xml, RelationshipsPartOf(sourcePart));
    std::vector<Relationship> relationships;
    for (pugi::xml_node node : ChildByLocalName(document, "Relationships").children()) {
        if (!HasLocalName(node, "Relationship")) {
            continue;
        }
        Relationship relationship{node.attribute("Id").value(), node.attribute("Type").value(), ""};
        if (strcasecmp(node.attribute("TargetMode").value(), "External") != 0) {
            relationship.part = ResolveTarget(sourcePart, node.attribute("Target").value());
        }
        relationships.push_back(std::move(relationship));
    }
    return relationships;
}

std::string RemoveRelationships(std::string_view xml, const std::string& sourcePart,
                                std::string_view lastWord) {
    pugi::xml_document document;
    ParseXmlPart(document, xml, RelationshipsPartOf(sourcePart));
    pugi::xml_node list = ChildByLocalName(document, "Relationships");
    for (pugi::xml_node node = list.first_child(); node;) {
        const pugi::xml_node next = node.next_sibling();
        const Relationship relationship{"", node.attribute("Type").value(), ""};
        if (HasLocalName(node, "Relationship") && HasRelationshipType(relationship, lastWord)) {
            list.remove_child(node);
        }
        node = next;
    }
    return SerializeXmlPart(document);
}

std::string RemoveContentTypeOverride(std::string_view xml, const std::string& partName) {
    pugi::xml_document document;
    ParseXmlPart(document, xml, kContentTypesPart);
    pugi::xml_node types = ChildByLocalName(document, "Types");
    const std::string absolute = "/" + partName;
    for (pugi::xml_node node = types.first_child(); node;) {
        const pugi::xml_node next = node.next_sibling();
        if (HasLocalName(node, "Override") &&
            strcasecmp(node.attribute("PartName").value(), absolute.c_str()) == 0) {
            types.remove_child(node);
        }
        node = next;
    }
    return SerializeXmlPart(document);
}

}  // namespace wexal::sheet
