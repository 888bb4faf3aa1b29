#include "tests/support/memory_key_store.h"

#include <algorithm>
#include <cstring>

namespace tolvane::testing {
namespace {

std::u16string Lower(std::u16string text) {
    for (char16_t& c : text)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    return text;
}

// Path components; empty components (a trailing backslash) are dropped.
std::vector<std::u16string> Split(const std::u16string& path) {
    std::vector<std::u16string> parts;
    std::u16string part;
    for (char16_t c : path) {
        if (c == u'\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

}  // namespace

struct MemoryKeyStore::Node {
    std::u16string name;
    std::vector<std::unique_ptr<Node>> children;
    struct Value {
        std::u16string name;
        std::vector<std::uint8_t> bytes;
        std::uint32_t type;
    };
    std::map<std::u16string, Value> values;  // by lower-case name
    bool denyRead = false;
    bool denyWrite = false;
    bool restricted = false;

    Node* Child(const std::u16string& childName) const {
        for (const auto& child : children)
            if (Lower(child->name) == Lower(childName)) return child.get();
        return nullptr;
    }
};

MemoryKeyStore::MemoryKeyStore() : root_(std::make_unique<Node>()) {}
MemoryKeyStore::~MemoryKeyStore() = default;

MemoryKeyStore::Node* MemoryKeyStore::Find(const std::u16string& path) const {
    Node* node = root_.get();
    for (const std::u16string& part : Split(path)) {
        node = node->Child(part);
        if (node == nullptr) return nullptr;
    }
    return node;
}

std::uint32_t MemoryKeyStore::OpenKey(const std::u16string& path, KeyAccess access) {
    const Node* node = Find(path);
    if (node == nullptr) return win_error::kFileNotFound;
    const bool read = access != KeyAccess::kWrite, write = access != KeyAccess::kRead;
    if ((read && node->denyRead) || (write && node->denyWrite)) return win_error::kAccessDenied;
    return win_error::kSuccess;
}

std::uint32_t MemoryKeyStore::CreateKey(const std::u16string& path) {
    Node* node = root_.get();
    for (const std::u16string& part : Split(path)) {
        Node* child = node->Child(part);
        if (child == nullptr) {
            if (node->denyWrite) return win_error::kAccessDenied;
            node->children.push_back(std::make_unique<Node>());
            child = node->children.back().get();
            child->name = part;
        }
        node = child;
    }
    return win_error::kSuccess;
}

std::uint32_t MemoryKeyStore::DeleteKey(const std::u16string& path) {
    const std::vector<std::u16string> parts = Split(path);
    if (parts.empty()) return win_error::kAccessDenied;
    std::u16string parentPath;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) parentPath += parts[i] + u"\\";
    Node* parent = Find(parentPath);
    if (parent == nullptr) return win_error::kFileNotFound;
    auto it = std::find_if(parent->children.begin(), parent->children.end(),
                           [&](const auto& child) { return Lower(child->name) == Lower(parts.back()); });
    if (it == parent->children.end()) return win_error::kFileNotFound;
    if (!(*it)->children.empty() || parent->denyWrite) return win_error::kAccessDenied;
    parent->children.erase(it);
    return win_error::kSuccess;
}

std::uint32_t MemoryKeyStore::EnumSubkey(const std::u16string& path, std::uint32_t index, std::size_t maxNameLength,
                                         std::u16string& name) {
    const std::uint32_t status = OpenKey(path, KeyAccess::kRead);
    if (status != win_error::kSuccess) return status;
    const Node* node = Find(path);
    if (index >= node->children.size()) return win_error::kNoMoreItems;
    if (node->children[index]->name.size() > maxNameLength) return win_error::kMoreData;
    name = node->children[index]->name;
    return win_error::kSuccess;
}

std::uint32_t MemoryKeyStore::QueryValue(const std::u16string& path, const std::u16string& name, std::size_t maxBytes,
                                         std::vector<std::uint8_t>& data) {
    const std::uint32_t status = OpenKey(path, KeyAccess::kRead);
    if (status != win_error::kSuccess) return status;
    const Node* node = Find(path);
    auto it = node->values.find(Lower(name));
    if (it == node->values.end()) return win_error::kFileNotFound;
    const std::uint32_t type = it->second.type;
    if (type != value_type::kText && type != value_type::kExpandableText) return win_error::kUnsupportedType;
    if (it->second.bytes.size() > maxBytes) return win_error::kMoreData;
    data = it->second.bytes;
    return win_error::kSuccess;
}

std::uint32_t MemoryKeyStore::SetStringValue(const std::u16string& path, const std::u16string& name,
                                             const std::u16string& text) {
    const std::uint32_t status = OpenKey(path, KeyAccess::kWrite);
    if (status != win_error::kSuccess) return status;
    std::vector<std::uint8_t> bytes((text.size() + 1) * 2, 0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
    SetRawValue(path, name, std::move(bytes));
    return win_error::kSuccess;
}

std::uint32_t MemoryKeyStore::DeleteValue(const std::u16string& path, const std::u16string& name) {
    const std::uint32_t status = OpenKey(path, KeyAccess::kWrite);
    if (status != win_error::kSuccess) return status;
    return Find(path)->values.erase(Lower(name)) == 1 ? win_error::kSuccess : win_error::kFileNotFound;
}

bool MemoryKeyStore::HasKey(const std::u16string& path) const { return Find(path) != nullptr; }

std::uint32_t MemoryKeyStore::RestrictToAdministrators(const std::u16string& path) {
    const std::uint32_t status = OpenKey(path, KeyAccess::kWrite);
    if (status != win_error::kSuccess) return status;
    Find(path)->restricted = true;
    return win_error::kSuccess;
}

bool MemoryKeyStore::IsRestricted(const std::u16string& path) const {
    const Node* node = Find(path);
    return node != nullptr && node->restricted;
}

std::optional<std::u16string> MemoryKeyStore::Value(const std::u16string& path, const std::u16string& name) const {
    const Node* node = Find(path);
    if (node == nullptr) return std::nullopt;
    auto it = node->values.find(Lower(name));
    if (it == node->values.end()) return std::nullopt;
    return TextFromValueBytes(it->second.bytes);
}

std::size_t MemoryKeyStore::ValueCount(const std::u16string& path) const {
    const Node* node = Find(path);
    return node == nullptr ? 0 : node->values.size();
}

void MemoryKeyStore::SetRawValue(const std::u16string& path, const std::u16string& name,
                                 std::vector<std::uint8_t> bytes, std::uint32_t type) {
    Find(path)->values[Lower(name)] = {name, std::move(bytes), type};
}

void MemoryKeyStore::DenyAccess(const std::u16string& path, KeyAccess access) {
    Node* node = Find(path);
    node->denyRead = access != KeyAccess::kWrite;
    node->denyWrite = access != KeyAccess::kRead;
}

}  // namespace tolvane::testing
