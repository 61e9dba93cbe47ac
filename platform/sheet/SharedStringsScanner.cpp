#include "platform/sheet/SharedStringsScanner.h"

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sheet/OoxmlText.h"
#include "platform/sheet/SharedStrings.h"

namespace wexal::sheet {

namespace {

// The scan meets what it leaves to the XML parser.
struct LeftToParser {};

constexpr int kEnd = -1;

bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsLetter(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

// The parser takes every byte above 127 as a letter of a name.
bool IsNameStart(int c) {
    return c >= 0x80 || IsLetter(c) || c == '_' || c == ':';
}

bool IsNameChar(int c) {
    return IsNameStart(c) || IsDigit(c) || c == '-' || c == '.';
}

int HexDigit(int c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    const int lower = c | 0x20;
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

std::string_view LocalName(std::string_view name) {
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// The bytes of the part, one at a time or as runs of plain text.
class Input {
  public:
    explicit Input(const std::function<std::string_view()>& next) : next_(next) {}

    int Peek() {
        if (at_ == piece_.size() && !Refill()) {
            return kEnd;
        }
        const auto c = static_cast<unsigned char>(piece_[at_]);
        // The parser ends the document at a null character.
        if (c == 0) {
            throw LeftToParser{};
        }
        return c;
    }
    int Get() {
        const int c = Peek();
        if (c != kEnd) {
            ++at_;
        }
        return c;
    }
    void Expect(int wanted) {
        if (Get() != wanted) {
            throw LeftToParser{};
        }
    }
    void Expect(std::string_view wanted) {
        for (const char c : wanted) {
            Expect(static_cast<unsigned char>(c));
        }
    }
    void SkipSpace() {
        while (IsSpace(Peek())) {
            ++at_;
        }
    }
    std::string Name() {
        std::string name;
        while (IsNameChar(Peek())) {
            name += static_cast<char>(Get());
        }
        return name;
    }
    // Bytes up to the next markup, reference or null character, as much of
    // them as the current piece holds; empty there and at the end.
    std::string_view PlainRun() {
        if (at_ == piece_.size() && !Refill()) {
            return {};
        }
        const std::size_t start = at_;
        while (at_ < piece_.size() && piece_[at_] != '<' && piece_[at_] != '&' &&
               piece_[at_] != '\0') {
            ++at_;
        }
        return piece_.substr(start, at_ - start);
    }
    // Consumes everything up to and with `terminator` ("-->", "]]>"); hands
    // each byte before it to `take`.
    template <typename Take>
    void Through(std::string_view terminator, Take take) {
        std::string held;  // a beginning of the terminator
        while (held != terminator) {
            const int c = Get();
            if (c == kEnd) {
                throw LeftToParser{};
            }
            held += static_cast<char>(c);
            while (!terminator.starts_with(held)) {
                take(held.front());
                held.erase(0, 1);
            }
        }
    }

  private:
    bool Refill() {
        if (ended_) {
            return false;
        }
        piece_ = next_();
        at_ = 0;
        ended_ = piece_.empty();
        return !ended_;
    }

    const std::function<std::string_view()>& next_;
    std::string_view piece_;
    std::size_t at_ = 0;
    bool ended_ = false;
};

// What an element is to the table: the texts of an item are its <t>
// children and the first <t> of each of its runs (<r>); all else, phonetic
// runs among it, is passed over.
enum class Role : std::uint8_t { Table, Item, Run, Text, Other };

// Small, since a damaged part may open millions of elements.
struct OpenElement {
    std::uint32_t nameEnd;  // in Scanner::names_, which is never longer than a part
    Role role;
    bool hasChild = false;
    bool hasText = false;  // its first text node was met
    bool runHasText = false;
};

class Scanner {
  public:
    Scanner(const std::function<std::string_view()>& next, SharedStrings& strings)
        : in_(next), strings_(strings) {}

    void Document() {
        if (in_.Peek() == 0xEF) {
            in_.Expect("\xEF\xBB\xBF");
        }
        for (bool declared = false;;) {
            in_.SkipSpace();
            in_.Expect('<');
            if (in_.Peek() != '?' || declared) {
                break;
            }
            in_.Get();
            Declaration();
            declared = true;
        }
        if (!IsNameStart(in_.Peek())) {
            throw LeftToParser{};
        }
        std::string name = in_.Name();
        if (LocalName(name) != "sst") {
            throw LeftToParser{};
        }
        StartTag(std::move(name));
        while (!open_.empty()) {
            Content();
        }
        in_.SkipSpace();
        if (in_.Peek() != kEnd) {
            throw LeftToParser{};
        }
    }

  private:
    // <?xml version="1.0" encoding="UTF-8" standalone="yes"?>, after "<?". A
    // declaration of another encoding, or one the parser might take for one,
    // is the parser's.
    void Declaration() {
        in_.Expect("xml");
        if (!IsSpace(in_.Peek())) {
            throw LeftToParser{};
        }
        for (;;) {
            in_.SkipSpace();
            if (in_.Peek() == '?') {
                in_.Get();
                in_.Expect('>');
                return;
            }
            const std::string name = in_.Name();
            if (name != "version" && name != "encoding" && name != "standalone") {
                throw LeftToParser{};
            }
            in_.SkipSpace();
            in_.Expect('=');
            in_.SkipSpace();
            const int quote = in_.Get();
            if (quote != '"' && quote != '\'') {
                throw LeftToParser{};
            }
            std::string value;
            for (int c = in_.Get(); c != quote; c = in_.Get()) {
                if (!IsLetter(c) && !IsDigit(c) && c != '.' && c != '-' && c != '_') {
                    throw LeftToParser{};
                }
                value += static_cast<char>(c | (IsLetter(c) ? 0x20 : 0));
            }
            if ((name == "encoding" && value != "utf-8") ||
                (!IsSpace(in_.Peek()) && in_.Peek() != '?')) {
                throw LeftToParser{};
            }
        }
    }

    // The rest of a start tag after its name: attributes, which the table
    // does not use but which must be sound.
    void StartTag(std::string name) {
        Open(std::move(name));
        int c = in_.Get();
        while (IsSpace(c)) {
            in_.SkipSpace();
            if (!IsNameStart(in_.Peek())) {
                c = in_.Get();
                break;
            }
            Attribute();
            c = in_.Get();
        }
        if (c == '/') {
            in_.Expect('>');
            Close();
        } else if (c != '>') {
            throw LeftToParser{};
        }
    }

    void Attribute() {
        in_.Name();
        in_.SkipSpace();
        in_.Expect('=');
        in_.SkipSpace();
        const int quote = in_.Get();
        if (quote != '"' && quote != '\'') {
            throw LeftToParser{};
        }
        for (int c = in_.Get(); c != quote; c = in_.Get()) {
            if (c == kEnd) {
                throw LeftToParser{};
            }
        }
        if (IsNameStart(in_.Peek())) {
            throw LeftToParser{};
        }
    }

    void Open(std::string name) {
        Role role = Role::Table;
        if (!open_.empty()) {
            OpenElement& parent = open_.back();
            parent.hasChild = true;
            const std::string_view local = LocalName(name);
            role = Role::Other;
            if (parent.role == Role::Table && local == "si") {
                role = Role::Item;
            } else if (parent.role == Role::Item && local == "t") {
                role = Role::Text;
            } else if (parent.role == Role::Item && local == "r") {
                role = Role::Run;
            } else if (parent.role == Role::Run && local == "t" && !parent.runHasText) {
                parent.runHasText = true;
                role = Role::Text;
            }
        }
        names_ += name;
        open_.push_back({static_cast<std::uint32_t>(names_.size()), role});
    }

    void Close() {
        if (open_.back().role == Role::Item) {
            strings_.EndItem();
        }
        open_.pop_back();
        names_.resize(open_.empty() ? 0 : open_.back().nameEnd);
    }

    std::string_view OpenName() const {
        const std::size_t start = open_.size() < 2 ? 0 : open_[open_.size() - 2].nameEnd;
        return std::string_view(names_).substr(start);
    }

    // Text up to the next markup, then that markup.
    void Content() {
        if (in_.Peek() == '<') {
            in_.Get();
        } else {
            Text();
        }
        const int c = in_.Peek();
        if (c == '/') {
            in_.Get();
            if (in_.Name() != OpenName()) {
                throw LeftToParser{};
            }
            in_.SkipSpace();
            in_.Expect('>');
            Close();
        } else if (c == '!') {
            in_.Get();
            CommentOrCdata();
        } else if (IsNameStart(c)) {
            StartTag(in_.Name());
        } else {
            throw LeftToParser{};
        }
    }

    // Text and the "<" that ends it. The parser keeps text that is only white
    // space when it is all that its element holds; of an element's text
    // nodes, the first is its text.
    void Text() {
        OpenElement& element = open_.back();
        const bool taken = element.role == Role::Text && !element.hasText;
        bool onlySpace = true;
        spaces_.clear();
        for (;;) {
            const std::string_view run = in_.PlainRun();
            if (!run.empty()) {
                std::size_t plain = 0;
                if (onlySpace) {
                    while (plain < run.size() && IsSpace(run[plain])) {
                        ++plain;
                    }
                    if (plain == run.size()) {
                        if (taken) {
                            spaces_.append(run);
                        }
                        continue;
                    }
                    Begin(taken, onlySpace);
                }
                if (taken) {
                    strings_.Append(run);
                }
                continue;
            }
            const int c = in_.Peek();
            if (c == '<') {
                break;
            }
            if (c != '&') {
                throw LeftToParser{};  // the end of the part within an element
            }
            Begin(taken, onlySpace);
            Reference(taken);
        }
        in_.Get();
        const bool kept = !onlySpace || (in_.Peek() == '/' && !element.hasChild);
        if (kept && taken && onlySpace) {
            strings_.Append(spaces_);
        }
        element.hasText = element.hasText || kept;
    }

    // The first byte of a text that is not white space: the white space
    // before it belongs to it.
    void Begin(bool taken, bool& onlySpace) {
        if (onlySpace && taken) {
            strings_.Append(spaces_);
        }
        onlySpace = false;
    }

    // After "&": a reference as the parser decodes it; what is no reference
    // stays as written.
    void Reference(bool taken) {
        in_.Get();
        std::string written = "&";
        const auto keep = [&](int c) {
            if (taken) {
                written += static_cast<char>(c);
            }
        };
        const auto literal = [&] {
            if (taken) {
                strings_.Append(written);
            }
        };
        const auto character = [&](std::uint32_t code) {
            in_.Get();  // ';'
            // The parser ends its text at a null character and writes codes
            // beyond Unicode its own way.
            if (code == 0 || code > 0x10FFFF) {
                throw LeftToParser{};
            }
            std::string bytes;
            AppendUtf8(bytes, code);
            if (taken) {
                strings_.Append(bytes);
            }
        };
        const auto named = [&](std::string_view rest, char meaning) {
            for (const char c : rest) {
                if (in_.Peek() != c) {
                    return literal();
                }
                keep(in_.Get());
            }
            if (taken) {
                strings_.Append(std::string_view(&meaning, 1));
            }
        };
        switch (in_.Peek()) {
            case '#': {
                keep(in_.Get());
                const bool hex = in_.Peek() == 'x';
                if (hex) {
                    keep(in_.Get());
                }
                if (in_.Peek() == ';') {
                    return literal();
                }
                // As the parser counts: modulo 2^32.
                std::uint32_t code = 0;
                for (int c = in_.Peek(); c != ';'; c = in_.Peek()) {
                    const int digit = hex ? HexDigit(c) : (IsDigit(c) ? c - '0' : -1);
                    if (digit < 0) {
                        return literal();
                    }
                    code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
                    keep(in_.Get());
                }
                return character(code);
            }
            case 'a':
                keep(in_.Get());
                if (in_.Peek() == 'm') {
                    return named("mp;", '&');
                }
                return named("pos;", '\'');
            case 'g':
                return named("gt;", '>');
            case 'l':
                return named("lt;", '<');
            case 'q':
                return named("quot;", '"');
            default:
                return literal();
        }
    }

    // After "<!": a comment, or character data, which is a text node.
    void CommentOrCdata() {
        OpenElement& element = open_.back();
        element.hasChild = true;
        if (in_.Peek() == '-') {
            in_.Expect("--");
            in_.Through("-->", [](char) {});
            return;
        }
        in_.Expect("[CDATA[");
        const bool taken = element.role == Role::Text && !element.hasText;
        element.hasText = true;
        in_.Through("]]>", [&](char c) {
            if (taken) {
                strings_.Append(std::string_view(&c, 1));
            }
        });
    }

    Input in_;
    SharedStrings& strings_;
    std::string names_;  // of the open elements, end to end
    std::vector<OpenElement> open_;
    std::string spaces_;
};

}  // namespace

bool ScanSharedStrings(const std::function<std::string_view()>& next, SharedStrings& strings) {
    try {
        Scanner(next, strings).Document();
        return true;
    } catch (const LeftToParser&) {
        return false;
    }
}

}  // namespace wexal::sheet
