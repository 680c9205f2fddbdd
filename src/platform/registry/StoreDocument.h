#pragma once
// The settings store's file as a document: the registry's keys and text
// values as JSON, laid out as the store has always been written, so that a
// store of an earlier version reads as it did and a saved one reads anywhere:
//
//     {
//         "HKEY_CURRENT_USER": {
//             "keys": {
//                 "Software": {
//                     "keys": {
//                         ...
//                             "values": {
//                                 "URL Mon": "False"
//
// Each root key is a node. A node holds "keys" (its subkeys by name) and
// "values" (its texts by name), each only once something was written there.
// Names are kept in the order of their UTF-8 bytes, as they are written.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tollivex::platform::registry {

struct StoreEntry;

struct StoreNode {
    bool hasKeys = false;
    std::vector<StoreEntry> keys; // in name order
    bool hasValues = false;
    std::vector<std::pair<std::string, std::string>> values; // name, text; in name order

    bool operator==(const StoreNode& other) const;
    bool operator!=(const StoreNode& other) const { return !(*this == other); }
};

struct StoreEntry {
    std::string name;
    StoreNode node;

    bool operator==(const StoreEntry& other) const { return name == other.name && node == other.node; }
};

/// The whole store: the root keys by name, in name order.
using StoreDocument = std::vector<StoreEntry>;

/// The document in `text`, or nothing when the text is not a store: not
/// JSON, not UTF-8, or anything but objects and texts where the layout above
/// wants them. A name given twice keeps its last value.
std::optional<StoreDocument> ParseStore(std::string_view text);

/// The document as the store's file holds it, with four-space indents.
std::string WriteStore(const StoreDocument& document);

/// The entry named `name`, or one whose name differs from it only in the
/// letter case of ASCII letters (the first in name order); none when there is none.
StoreEntry* FindEntry(std::vector<StoreEntry>& entries, std::string_view name);
std::pair<std::string, std::string>* FindValue(std::vector<std::pair<std::string, std::string>>& values,
                                               std::string_view name);

/// The entry named `name` exactly, added empty in its place when missing.
StoreNode& EntryNamed(std::vector<StoreEntry>& entries, const std::string& name);
/// Sets the value named `name` exactly, added in its place when missing.
void SetValue(std::vector<std::pair<std::string, std::string>>& values, const std::string& name,
              const std::string& text);

/// `text` as valid UTF-8: every byte that is not part of a character becomes
/// U+FFFD, the replacement character it is shown as.
std::string ValidUtf8(std::string_view text);

} // namespace tollivex::platform::registry
