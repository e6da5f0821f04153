#include "memory_files.h"

#include <algorithm>
#include <cctype>

#include "text/cp932_text.h"

namespace tovimo::testing {

struct MemoryFiles::Node {
    std::string name;
    bool isFolder = true;
    bool readOnly = false;
    bool unreadable = false;
    bool nameConverts = true;
    bool held = false;
    std::string linkTarget;  // not empty: a folder link
    std::string content;
    std::int64_t lastWriteMs = 0;
    std::vector<std::unique_ptr<Node>> children;

    Node* AddChild(const std::string& childName, bool folder) {
        children.push_back(std::make_unique<Node>());
        Node* child = children.back().get();
        child->name = childName;
        child->isFolder = folder;
        return child;
    }
    Node* Child(const std::string& childName) const {
        for (const auto& child : children)
            if (SameName(child->name, childName)) return child.get();
        return nullptr;
    }
    static bool SameName(const std::string& a, const std::string& b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            const auto ca = static_cast<unsigned char>(a[i]);
            const auto cb = static_cast<unsigned char>(b[i]);
            if (std::tolower(ca) != std::tolower(cb)) return false;
            // The trail byte of a double-byte character is compared as it is.
            if (IsCp932LeadByte(ca) && i + 1 < a.size()) {
                ++i;
                if (a[i] != b[i]) return false;
            }
        }
        return true;
    }
};

namespace {

// Splits "D:\a\b" into "D:", "a", "b"; empty parts (doubled or trailing "\")
// are dropped. A "\" that is the trail byte of a character does not split.
std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string current;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (IsCp932LeadByte(byte) && i + 1 < path.size()) {
            current += path[i];
            current += path[++i];
        } else if (path[i] == '\\' || path[i] == '/') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += path[i];
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

}  // namespace

MemoryFiles::MemoryFiles() : root_(std::make_unique<Node>()) {}
MemoryFiles::~MemoryFiles() = default;

MemoryFiles::Node* MemoryFiles::Resolve(Node* node) const {
    for (int hops = 0; node && !node->linkTarget.empty(); ++hops) {
        if (hops == 32) return nullptr;
        node = FindEntry(node->linkTarget);
    }
    return node;
}

MemoryFiles::Node* MemoryFiles::FindEntry(const std::string& path) const {
    Node* node = root_.get();
    for (const auto& part : SplitPath(path)) {
        node = Resolve(node);
        if (!node || !node->isFolder) return nullptr;
        node = node->Child(part);
        if (!node) return nullptr;
    }
    return node;
}

MemoryFiles::Node* MemoryFiles::Find(const std::string& path) const {
    return Resolve(FindEntry(path));
}

MemoryFiles::Node* MemoryFiles::FindParent(const std::string& path, std::string* leafName) const {
    auto parts = SplitPath(path);
    if (parts.empty()) return nullptr;
    *leafName = parts.back();
    parts.pop_back();
    Node* node = root_.get();
    for (const auto& part : parts) {
        node = Resolve(node->Child(part));
        if (!node || !node->isFolder) return nullptr;
    }
    return node;
}

void MemoryFiles::AddFolder(const std::string& path) {
    Node* node = root_.get();
    for (const auto& part : SplitPath(path)) {
        Node* child = node->Child(part);
        node = child ? Resolve(child) : node->AddChild(part, true);
        if (!node) return;
    }
}

void MemoryFiles::AddFile(const std::string& path, const std::string& content) {
    std::string leaf;
    auto parts = SplitPath(path);
    if (parts.size() > 1) {
        std::string parent;
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) parent += parts[i] + "\\";
        AddFolder(parent);
    }
    Node* parent = FindParent(path, &leaf);
    if (!parent) return;
    Node* file = parent->Child(leaf);
    if (!file) file = parent->AddChild(leaf, false);
    Written(*file, content);
}

bool MemoryFiles::WriteFile(const std::string& path, const std::string& content) {
    std::string leaf;
    Node* parent = FindParent(path, &leaf);
    if (!parent || parent->readOnly) return false;
    Node* file = parent->Child(leaf);
    if (file && (file->isFolder || file->held)) return false;
    if (!file) file = parent->AddChild(leaf, false);
    Written(*file, content);
    return true;
}

void MemoryFiles::Written(Node& file, const std::string& content) const {
    file.content = content;
    const std::int64_t now = nowMs_ ? nowMs_() : 0;
    file.lastWriteMs = now / resolutionMs_ * resolutionMs_;
}

bool MemoryFiles::MakeFolder(const std::string& path) {
    std::string leaf;
    Node* parent = FindParent(path, &leaf);
    if (!parent || parent->readOnly || parent->Child(leaf)) return false;
    parent->AddChild(leaf, true);
    return true;
}

bool MemoryFiles::RemoveFile(const std::string& path) {
    std::string leaf;
    Node* parent = FindParent(path, &leaf);
    if (!parent || parent->readOnly) return false;
    auto& children = parent->children;
    auto it = std::find_if(children.begin(), children.end(), [&](const auto& child) {
        return !child->isFolder && Node::SameName(child->name, leaf);
    });
    if (it == children.end()) return false;
    children.erase(it);
    return true;
}

bool MemoryFiles::SetLastWriteMs(const std::string& path, std::int64_t ms) {
    Node* node = Find(path);
    if (!node || node->isFolder || node->held) return false;
    node->lastWriteMs = ms;
    return true;
}

void MemoryFiles::Hold(const std::string& path, bool held) {
    if (Node* node = Find(path); node && !node->isFolder) node->held = held;
}

std::optional<std::string> MemoryFiles::ReadFile(const std::string& path) const {
    const Node* node = Find(path);
    if (!node || node->isFolder) return std::nullopt;
    return node->content;
}

std::vector<std::string> MemoryFiles::Lines(const std::string& path) const {
    const std::string text = ReadFile(path).value_or("");
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

bool MemoryFiles::FileExists(const std::string& path) const {
    const Node* node = Find(path);
    return node && !node->isFolder;
}

bool MemoryFiles::FolderExists(const std::string& path) const {
    const Node* node = Find(path);
    return node && node->isFolder && node != root_.get();
}

std::optional<MemoryFiles::FileInfo> MemoryFiles::InfoOf(const std::string& path) const {
    const Node* node = Find(path);
    if (!node || node->isFolder) return std::nullopt;
    return FileInfo{node->lastWriteMs, node->content.size()};
}

std::vector<MemoryFiles::Entry> MemoryFiles::List(const std::string& folder) const {
    std::vector<Entry> entries;
    const Node* node = Find(folder);
    if (!node || !node->isFolder) return entries;
    for (const auto& child : node->children)
        entries.push_back(
            {child->name, child->isFolder, !child->linkTarget.empty(), child->nameConverts});
    return entries;
}

std::vector<std::string> MemoryFiles::AllFiles() const {
    std::vector<std::string> paths;
    struct Walker {
        std::vector<std::string>& out;
        void Walk(const Node& node, const std::string& prefix) {
            for (const auto& child : node.children) {
                const std::string path = prefix.empty() ? child->name : prefix + "\\" + child->name;
                if (child->isFolder) Walk(*child, path);
                else out.push_back(path);
            }
        }
    } walker{paths};
    walker.Walk(*root_, "");
    return paths;
}

void MemoryFiles::MakeReadOnly(const std::string& folder) {
    if (Node* node = Find(folder); node && node->isFolder) node->readOnly = true;
}

void MemoryFiles::AddFolderLink(const std::string& path, const std::string& target) {
    std::string leaf;
    AddFolder(path);
    if (Node* parent = FindParent(path, &leaf)) {
        Node* link = parent->Child(leaf);
        link->linkTarget = target;
    }
}

void MemoryFiles::MakeUnreadable(const std::string& folder) {
    if (Node* node = Find(folder); node && node->isFolder) node->unreadable = true;
}

bool MemoryFiles::IsUnreadable(const std::string& folder) const {
    const Node* node = Find(folder);
    return node && node->unreadable;
}

void MemoryFiles::MarkNameLost(const std::string& path) {
    if (Node* node = FindEntry(path)) node->nameConverts = false;
}

std::optional<std::uint64_t> MemoryFiles::FolderNumber(const std::string& path) const {
    const Node* node = Find(path);
    if (!node || !node->isFolder) return std::nullopt;
    return reinterpret_cast<std::uintptr_t>(node);
}

}  // namespace tovimo::testing
