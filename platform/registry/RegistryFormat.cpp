#include "platform/registry/RegistryFormat.h"

#include <cstdio>

namespace wexal::registry::detail {
namespace {

constexpr std::string_view kHive = "HKEY_CURRENT_USER";

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && Fold(s.substr(0, prefix.size())) == Fold(prefix);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string Quote(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + '"';
}

class Parser {
  public:
    Parser(std::string_view text, const std::string& file) : file_(file) {
        while (!text.empty()) {
            size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            lines_.push_back(line);
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        }
    }

    Key Run() {
        if (lines_.empty())
            return std::move(root_);
        if (Trim(lines_[0]) != "REGEDIT4")
            Fail("does not start with REGEDIT4");
        Key* current = nullptr;
        for (line_ = 1; line_ < lines_.size(); ++line_) {
            std::string_view line = Trim(lines_[line_]);
            if (line.empty() || line.front() == ';')
                continue;
            if (line.front() == '[') {
                current = &Section(line);
            } else if (line.front() == '"' || line.front() == '@') {
                if (current == nullptr)
                    Fail("a value before any [key] section");
                ValueLine(line, *current);
            } else {
                Fail("cannot parse \"" + std::string(line) +
                     "\": expected a [key] section, a value or a blank line");
            }
        }
        return std::move(root_);
    }

  private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw RegistryError("damaged registry file " + file_ + ", line " +
                            std::to_string(line_ + 1) + ": " + what);
    }

    Key& Section(std::string_view line) {
        if (line.back() != ']')
            Fail("a section line must end with ']'");
        std::string_view path = line.substr(1, line.size() - 2);
        if (!path.empty() && path.front() == '-')
            Fail("deleting keys ([-...]) is not supported");
        if (!StartsWithNoCase(path, kHive) ||
            (path.size() > kHive.size() && path[kHive.size()] != '\\')) {
            Fail("key [" + std::string(path) + "] is not under HKEY_CURRENT_USER");
        }
        std::vector<std::string_view> parts;
        if (path.size() > kHive.size()) {
            path.remove_prefix(kHive.size() + 1);
            for (;;) {
                size_t end = path.find('\\');
                std::string_view part = path.substr(0, end);
                if (part.empty())
                    Fail("key path [" + std::string(line.substr(1, line.size() - 2)) +
                         "] has an empty name");
                if (!IsWritableName(part))
                    Fail("key name holds a control character");
                if (parts.size() == kMaxKeyDepth)
                    Fail("key path nests deeper than " + std::to_string(kMaxKeyDepth) + " keys");
                parts.push_back(part);
                if (end == std::string_view::npos)
                    break;
                path.remove_prefix(end + 1);
            }
        }
        return Ensure(root_, parts);
    }

    // A double-quoted text at the start of `s`, unescaped; `s` moves past it.
    std::string Quoted(std::string_view& s) {
        std::string out;
        for (size_t i = 1; i < s.size(); ++i) {
            char c = s[i];
            if (c == '"') {
                s.remove_prefix(i + 1);
                return out;
            }
            if (c == '\\') {
                if (i + 1 == s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) {
                    Fail(i + 1 == s.size() ? "a backslash ends the line inside a quoted text"
                                           : std::string("bad escape \\") + s[i + 1] +
                                                 " (only \\\\ and \\\" are allowed)");
                }
                c = s[++i];
            }
            out += c;
        }
        Fail("a quoted text has no closing double quote");
    }

    void ValueLine(std::string_view line, Key& key) {
        size_t first = line_;
        std::string name;
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else {
            name = Quoted(line);
            if (!IsWritableName(name))
                Fail("value name holds a control character");
        }
        line = Trim(line);
        if (line.empty() || line.front() != '=')
            Fail("expected '=' after the value name");
        line = Trim(line.substr(1));

        Value value;
        if (!line.empty() && line.front() == '"') {
            value = Quoted(line);
            if (!Trim(line).empty())
                Fail("unexpected text after the closing double quote");
        } else if (StartsWithNoCase(line, "dword:")) {
            std::string_view digits = line.substr(6);
            std::uint32_t n = 0;
            if (digits.size() != 8)
                Fail("dword value needs exactly 8 hex digits: \"" + std::string(line) + "\"");
            for (char c : digits) {
                if (HexDigit(c) < 0)
                    Fail("dword value needs exactly 8 hex digits: \"" + std::string(line) + "\"");
                n = n << 4 | static_cast<std::uint32_t>(HexDigit(c));
            }
            value = n;
        } else if (StartsWithNoCase(line, "hex(1):")) {
            value = HexString(line.substr(7));
        } else if (StartsWithNoCase(line, "hex")) {
            Fail("unsupported value kind \"" + std::string(line.substr(0, line.find(':'))) +
                 "\" (only strings, dword: and hex(1): are kept)");
        } else if (line == "-") {
            Fail("deleting values (=-) is not supported");
        } else {
            Fail("cannot parse the value \"" + std::string(line) + "\"");
        }

        std::string folded = Fold(name);
        if (key.values.count(folded) != 0) {
            line_ = first;
            Fail("value " + (name.empty() ? std::string("@") : Quote(name)) +
                 " appears twice in its key");
        }
        key.values.emplace(std::move(folded), std::make_pair(std::move(name), std::move(value)));
    }

    // The bytes of "61,62,00" (continued over lines ending in '\'), less a
    // closing NUL.
    std::string HexString(std::string_view data) {
        std::string text(Trim(data));
        while (!text.empty() && text.back() == '\\') {
            text.pop_back();
            if (++line_ == lines_.size())
                Fail("the file ends inside a continued hex value");
            text += Trim(lines_[line_]);
        }
        std::string bytes;
        std::string_view rest = text;
        while (!Trim(rest).empty()) {
            size_t comma = rest.find(',');
            std::string_view byte = Trim(rest.substr(0, comma));
            if (byte.size() != 2 || HexDigit(byte[0]) < 0 || HexDigit(byte[1]) < 0) {
                Fail("bad hex byte \"" + std::string(byte) + "\"");
            }
            bytes += static_cast<char>(HexDigit(byte[0]) * 16 + HexDigit(byte[1]));
            if (comma == std::string_view::npos)
                break;
            rest.remove_prefix(comma + 1);
            if (Trim(rest).empty())
                Fail("hex data ends with a comma");
        }
        if (!bytes.empty() && bytes.back() == '\0')
            bytes.pop_back();
        return bytes;
    }

    const std::string& file_;
    std::vector<std::string_view> lines_;
    size_t line_ = 0;
    Key root_;
};

void WriteValue(std::string& out, const std::string& name, const Value& value) {
    std::string line = name.empty() ? "@=" : Quote(name) + "=";
    if (const std::uint32_t* n = std::get_if<std::uint32_t>(&value)) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(*n));
        out += line + "dword:" + digits + "\n";
        return;
    }
    const std::string& text = std::get<std::string>(value);
    bool plain = true;
    for (unsigned char c : text)
        plain = plain && !IsControl(c);
    if (plain) {
        out += line + Quote(text) + "\n";
        return;
    }
    // Like regedit: the bytes and a closing NUL, lines wrapped near 80 columns.
    line += "hex(1):";
    static const char kDigits[] = "0123456789abcdef";
    for (size_t i = 0; i <= text.size(); ++i) {
        unsigned char c = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
        line += kDigits[c >> 4];
        line += kDigits[c & 15];
        if (i == text.size())
            break;
        line += ',';
        if (line.size() > 75) {
            out += line + "\\\n";
            line = "  ";
        }
    }
    out += line + "\n";
}

// `path` grows by the key's name while its subkeys are written and is given
// back as it came.
void WriteKey(std::string& out, const Key& key, std::string& path) {
    const std::size_t parentLength = path.size();
    path += "\\" + key.name;
    out += "[" + path + "]\n";
    for (const auto& [folded, entry] : key.values)
        WriteValue(out, entry.first, entry.second);
    out += "\n";
    for (const auto& [folded, sub] : key.subkeys)
        WriteKey(out, *sub, path);
    path.resize(parentLength);
}

}  // namespace

std::string Fold(std::string_view name) {
    std::string out(name);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool IsWritableName(std::string_view name) {
    for (unsigned char c : name) {
        if (IsControl(c))
            return false;
    }
    return true;
}

std::vector<std::string_view> SplitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        size_t end = path.find('\\');
        if (end != 0)
            parts.push_back(path.substr(0, end));
        if (end == std::string_view::npos)
            break;
        path.remove_prefix(end + 1);
    }
    return parts;
}

const Key* Find(const Key& root, const std::vector<std::string_view>& parts) {
    const Key* key = &root;
    for (std::string_view part : parts) {
        auto it = key->subkeys.find(Fold(part));
        if (it == key->subkeys.end())
            return nullptr;
        key = it->second.get();
    }
    return key;
}

Key* Find(Key& root, const std::vector<std::string_view>& parts) {
    return const_cast<Key*>(Find(static_cast<const Key&>(root), parts));
}

Key& Ensure(Key& root, const std::vector<std::string_view>& parts, bool* created) {
    if (created != nullptr)
        *created = false;
    Key* key = &root;
    for (std::string_view part : parts) {
        auto& slot = key->subkeys[Fold(part)];
        if (!slot) {
            slot = std::make_unique<Key>();
            slot->name = part;
            if (created != nullptr)
                *created = true;
        }
        key = slot.get();
    }
    return *key;
}

Key Parse(std::string_view text, const std::string& file) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    return Parser(text, file).Run();
}

std::string Serialize(const Key& root) {
    std::string out = "REGEDIT4\n\n";
    if (!root.values.empty()) {
        out += "[" + std::string(kHive) + "]\n";
        for (const auto& [folded, entry] : root.values)
            WriteValue(out, entry.first, entry.second);
        out += "\n";
    }
    std::string path(kHive);
    for (const auto& [folded, sub] : root.subkeys)
        WriteKey(out, *sub, path);
    return out;
}

}  // namespace wexal::registry::detail
