#include "platform/sheet/SharedStringsScanner.h"

#include <pugixml.hpp>

#include <string>

#include <strings.h>

#include "platform/sheet/SharedStrings.h"
#include "platform/sheet/XmlPart.h"

namespace wexal::sheet {

namespace {

// A table's start tag does not take that much; a part whose does is the
// parser's.
constexpr std::size_t kMostBytesBeforeItems = 1 << 20;

// The part in batches of whole items, each cut after the last item end tag
// that has come and read by the XML parser as a fragment: the parser's
// document of a batch is small where the document of the part was ten times
// its size. Only the unfinished item after the cut waits for more.
class ItemBatches {
  public:
    explicit ItemBatches(SharedStrings& strings) : strings_(strings) {}

    // Each is false when the part goes to the parser whole.
    bool Add(std::string_view piece) {
        // The parser ends the document at a null character.
        if (piece.find('\0') != std::string_view::npos) {
            return false;
        }
        buffer_ += piece;
        return itemEnd_.empty() ? ReadTableStart() : TakeItems();
    }

    // What follows the last cut is the last batch: the items after it and
    // the table's end tag, then white space. A "<" at the very end of what
    // the parser is given would pass for the end of a text.
    bool End() {
        std::string_view rest = buffer_;
        rest = rest.substr(0, rest.find_last_not_of(" \t\r\n") + 1);
        const std::string tableEnd = "</" + tableName_ + ">";
        if (itemEnd_.empty() || !rest.ends_with(tableEnd)) {
            return false;
        }
        rest.remove_suffix(tableEnd.size());
        return !rest.ends_with('<') && Parse(rest);
    }

  private:
    // A declaration of UTF-8 or none, white space, and the table's start
    // tag; anything else before the table is the parser's. True also while
    // the tag has not come whole; the items after it are taken.
    bool ReadTableStart() {
        const std::string_view text = buffer_;
        // The tag ends at the first ">" after the declaration's: one in a
        // quoted value fails the parser's check below.
        std::size_t end = text.find('>');
        if (text.substr(text.starts_with("\xEF\xBB\xBF") ? 3 : 0).starts_with("<?")) {
            end = text.find('>', end + 1);  // none at all stays none
        }
        if (end == std::string_view::npos) {
            return buffer_.size() <= kMostBytesBeforeItems;
        }
        // The parser checks the tag, closed at once, and what comes before it.
        if (!ParseXmlFragment(document_, std::string(text.substr(0, end)) + "/>")) {
            return false;
        }
        pugi::xml_node node = document_.first_child();
        if (node.type() == pugi::node_declaration) {
            if (strcasecmp(node.attribute("encoding").as_string("UTF-8"), "UTF-8") != 0) {
                return false;
            }
            node = node.next_sibling();
        }
        if (!HasLocalName(node, "sst")) {
            return false;
        }
        tableName_ = node.name();
        // Items are named with the table's prefix ("x:si" in "x:sst").
        itemEnd_ = "</" + tableName_.substr(0, tableName_.size() - 3) + "si>";
        buffer_.erase(0, end + 1);
        return TakeItems();
    }

    bool TakeItems() {
        const std::size_t found = std::string_view(buffer_).substr(searched_).rfind(itemEnd_);
        if (found == std::string_view::npos) {
            // Only the last bytes may begin an end tag that the next piece ends.
            searched_ = buffer_.size() < itemEnd_.size() ? 0 : buffer_.size() - itemEnd_.size() + 1;
            return true;
        }
        const std::size_t cut = searched_ + found + itemEnd_.size();
        const bool parsed = Parse(std::string_view(buffer_).substr(0, cut));
        buffer_.erase(0, cut);
        searched_ = 0;
        return parsed;
    }

    bool Parse(std::string_view items) {
        // A comment, character data or a processing instruction may hold an
        // item end tag that a cut would have taken for one. Sought by their
        // rare second byte: "<" is every few bytes.
        for (const char mark : {'!', '?'}) {
            for (std::size_t at = items.find(mark); at != std::string_view::npos;
                 at = items.find(mark, at + 1)) {
                if (at > 0 && items[at - 1] == '<') {
                    return false;
                }
            }
        }
        if (!ParseXmlFragment(document_, items)) {
            return false;
        }
        strings_.AppendItems(document_);
        return true;
    }

    SharedStrings& strings_;
    pugi::xml_document document_;
    std::string buffer_;
    std::size_t searched_ = 0;  // no item end tag begins in the buffer before
    std::string tableName_;
    std::string itemEnd_;  // empty before the table's start tag is read
};

}  // namespace

bool ScanSharedStrings(const std::function<std::string_view()>& next, SharedStrings& strings) {
    ItemBatches batches(strings);
    for (std::string_view piece = next(); !piece.empty(); piece = next()) {
        if (!batches.Add(piece)) {
            return false;
        }
    }
    return batches.End();
}

}  // namespace wexal::sheet
