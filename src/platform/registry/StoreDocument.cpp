#include "platform/registry/StoreDocument.h"

#include <algorithm>
#include <functional>

namespace tollivex::platform::registry {

namespace {

// Deeper than this the text is no store (and the parse's stack stays small).
constexpr int kMaxNesting = 1024;
const std::string kKeys = "keys";
const std::string kValues = "values";
const char kReplacement[] = "\xEF\xBF\xBD";

/// The length of the UTF-8 character at `at`, 0 when the bytes there are none.
std::size_t CharacterLength(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
    const auto continuation = [&](std::size_t i, unsigned low = 0x80, unsigned high = 0xBF) {
        return byte(i) >= low && byte(i) <= high;
    };
    const unsigned first = byte(at);
    if (first < 0x80)
        return 1;
    if (first >= 0xC2 && first <= 0xDF)
        return continuation(at + 1) ? 2 : 0;
    if (first >= 0xE0 && first <= 0xEF) {
        // No overlong forms, no surrogates.
        const unsigned low = first == 0xE0 ? 0xA0 : 0x80;
        const unsigned high = first == 0xED ? 0x9F : 0xBF;
        return continuation(at + 1, low, high) && continuation(at + 2) ? 3 : 0;
    }
    if (first >= 0xF0 && first <= 0xF4) {
        // No overlong forms, nothing past U+10FFFF.
        const unsigned low = first == 0xF0 ? 0x90 : 0x80;
        const unsigned high = first == 0xF4 ? 0x8F : 0xBF;
        return continuation(at + 1, low, high) && continuation(at + 2) && continuation(at + 3) ? 4 : 0;
    }
    return 0;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

template <typename List>
auto Position(List& list, std::string_view name)
{
    return std::lower_bound(list.begin(), list.end(), name, [](const auto& item, std::string_view wanted) {
        return std::string_view(item.first) < wanted;
    });
}

/// Reads the store's JSON: objects and texts only, as the layout has them.
class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    bool Document(StoreDocument& document)
    {
        const bool parsed = Members([&](const std::string& name) {
            StoreNode& node = EntryNamed(document, name);
            node = StoreNode{};
            return Node(node);
        });
        SkipSpace();
        return parsed && at_ == text_.size();
    }

private:
    bool Node(StoreNode& node)
    {
        return Members([&](const std::string& member) {
            if (member == kKeys) {
                node.hasKeys = true;
                node.keys.clear();
                return Members([&](const std::string& name) {
                    StoreNode& child = EntryNamed(node.keys, name);
                    child = StoreNode{};
                    return Node(child);
                });
            }
            if (member == kValues) {
                node.hasValues = true;
                node.values.clear();
                return Members([&](const std::string& name) {
                    std::string text;
                    if (!String(text))
                        return false;
                    SetValue(node.values, name, text);
                    return true;
                });
            }
            return false;
        });
    }

    /// An object: each member's name is handed to `member`, which reads its value.
    bool Members(const std::function<bool(const std::string& name)>& member)
    {
        SkipSpace();
        if (!Take('{') || ++depth_ > kMaxNesting)
            return false;
        SkipSpace();
        if (!Take('}')) {
            for (;;) {
                std::string name;
                SkipSpace();
                if (!String(name))
                    return false;
                SkipSpace();
                if (!Take(':'))
                    return false;
                SkipSpace();
                if (!member(name))
                    return false;
                SkipSpace();
                if (Take('}'))
                    break;
                if (!Take(','))
                    return false;
            }
        }
        --depth_;
        return true;
    }

    bool String(std::string& out)
    {
        if (!Take('"'))
            return false;
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c == '\\') {
                if (!Escape(out))
                    return false;
                continue;
            }
            const std::size_t length = CharacterLength(text_, at_);
            if (length == 0)
                return false; // the store is UTF-8
            out.append(text_.substr(at_, length));
            at_ += length;
        }
        return false;
    }

    bool Escape(std::string& out)
    {
        ++at_;
        if (at_ >= text_.size())
            return false;
        const char c = text_[at_];
        switch (c) {
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
            ++at_;
            char32_t unit = 0;
            if (!Hex4(unit))
                return false;
            if (unit >= 0xD800 && unit <= 0xDBFF && text_.substr(at_, 2) == "\\u") {
                const std::size_t mark = at_;
                at_ += 2;
                char32_t low = 0;
                if (Hex4(low) && low >= 0xDC00 && low <= 0xDFFF) {
                    AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                    return true;
                }
                at_ = mark; // a lone half: the next escape stands on its own
            }
            if (unit >= 0xD800 && unit <= 0xDFFF)
                out += kReplacement;
            else
                AppendUtf8(out, unit);
            return true;
        }
        default: {
            // '"', '\\', '/', and any other character escaped for no reason: itself.
            const std::size_t length = CharacterLength(text_, at_);
            if (length == 0)
                return false;
            out.append(text_.substr(at_, length));
            at_ += length;
            return true;
        }
        }
        ++at_;
        return true;
    }

    bool Hex4(char32_t& unit)
    {
        if (at_ + 4 > text_.size())
            return false;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            unit <<= 4;
            if (c >= '0' && c <= '9')
                unit |= static_cast<char32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                unit |= static_cast<char32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                unit |= static_cast<char32_t>(c - 'A' + 10);
            else
                return false;
        }
        return true;
    }

    void SkipSpace()
    {
        while (at_ < text_.size() &&
               (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }

    bool Take(char c)
    {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    int depth_ = 0;
};

void AppendQuoted(std::string& out, std::string_view text)
{
    static const char* const kHex = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out += "\\u00";
                out += kHex[(c >> 4) & 0xF];
                out += kHex[c & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

/// An object of `count` members at nesting `indent`; `member(i, indent)`
/// writes the name and value of the i-th.
void AppendObject(std::string& out, std::size_t count, int indent,
                  const std::function<void(std::size_t index, int indent)>& member)
{
    out += "{\n";
    for (std::size_t i = 0; i < count; ++i) {
        out.append(4 * static_cast<std::size_t>(indent + 1), ' ');
        member(i, indent + 1);
        out += i + 1 < count ? ",\n" : "\n";
    }
    out.append(4 * static_cast<std::size_t>(indent), ' ');
    out += '}';
}

void AppendNode(std::string& out, const StoreNode& node, int indent);

void AppendEntries(std::string& out, const std::vector<StoreEntry>& entries, int indent)
{
    AppendObject(out, entries.size(), indent, [&](std::size_t i, int inner) {
        AppendQuoted(out, entries[i].name);
        out += ": ";
        AppendNode(out, entries[i].node, inner);
    });
}

void AppendNode(std::string& out, const StoreNode& node, int indent)
{
    const std::size_t members = (node.hasKeys ? 1 : 0) + (node.hasValues ? 1 : 0);
    AppendObject(out, members, indent, [&](std::size_t i, int inner) {
        if (i == 0 && node.hasKeys) {
            out += "\"keys\": ";
            AppendEntries(out, node.keys, inner);
            return;
        }
        out += "\"values\": ";
        AppendObject(out, node.values.size(), inner, [&](std::size_t v, int) {
            AppendQuoted(out, node.values[v].first);
            out += ": ";
            AppendQuoted(out, node.values[v].second);
        });
    });
}

} // namespace

bool StoreNode::operator==(const StoreNode& other) const
{
    return hasKeys == other.hasKeys && hasValues == other.hasValues && values == other.values && keys == other.keys;
}

std::optional<StoreDocument> ParseStore(std::string_view text)
{
    StoreDocument document;
    if (!Parser(text).Document(document))
        return std::nullopt;
    return document;
}

std::string WriteStore(const StoreDocument& document)
{
    std::string out;
    AppendEntries(out, document, 0);
    out += '\n';
    return out;
}

StoreEntry* FindEntry(std::vector<StoreEntry>& entries, std::string_view name)
{
    const auto exact = std::lower_bound(
        entries.begin(), entries.end(), name,
        [](const StoreEntry& entry, std::string_view wanted) { return std::string_view(entry.name) < wanted; });
    if (exact != entries.end() && exact->name == name)
        return &*exact;
    for (StoreEntry& entry : entries)
        if (SameIgnoringAsciiCase(entry.name, name))
            return &entry;
    return nullptr;
}

std::pair<std::string, std::string>* FindValue(std::vector<std::pair<std::string, std::string>>& values,
                                               std::string_view name)
{
    const auto exact = Position(values, name);
    if (exact != values.end() && exact->first == name)
        return &*exact;
    for (auto& value : values)
        if (SameIgnoringAsciiCase(value.first, name))
            return &value;
    return nullptr;
}

StoreNode& EntryNamed(std::vector<StoreEntry>& entries, const std::string& name)
{
    auto at = std::lower_bound(entries.begin(), entries.end(), name,
                               [](const StoreEntry& entry, const std::string& wanted) { return entry.name < wanted; });
    if (at == entries.end() || at->name != name)
        at = entries.insert(at, StoreEntry{name, StoreNode{}});
    return at->node;
}

void SetValue(std::vector<std::pair<std::string, std::string>>& values, const std::string& name,
              const std::string& text)
{
    auto at = Position(values, name);
    if (at != values.end() && at->first == name)
        at->second = text;
    else
        values.insert(at, {name, text});
}

std::string ValidUtf8(std::string_view text)
{
    std::string valid;
    valid.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = CharacterLength(text, at);
        if (length == 0) {
            valid += kReplacement;
            ++at;
        } else {
            valid.append(text.substr(at, length));
            at += length;
        }
    }
    return valid;
}

} // namespace tollivex::platform::registry
