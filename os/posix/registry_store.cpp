#include "os/posix/registry_store.h"

#include <cstdio>

#include "os/posix/cp932_units.h"

namespace os::posix {
namespace {

constexpr std::size_t kMaxDepth = 512;
constexpr std::size_t kMaxNameBytes = 255;

void AppendEscaped(std::string& out, std::string_view text) {
  for (char ch : text) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F || c == '%') {
      char hex[4];
      std::snprintf(hex, sizeof(hex), "%%%02X", c);
      out += hex;
    } else {
      out += ch;
    }
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
        HexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

void SerializeNode(const RegNode& node, std::size_t depth, std::string& out) {
  for (const auto& [key, child] : node.children) {
    out += "K " + std::to_string(depth) + " ";
    AppendEscaped(out, child.name);
    out += '\n';
    if (child.hasValue) {
      out += "V ";
      AppendEscaped(out, child.value);
      out += '\n';
    }
    SerializeNode(child, depth + 1, out);
  }
}

bool ParseDepth(std::string_view s, std::size_t& depth, std::string_view& rest) {
  std::size_t i = 0;
  depth = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    depth = depth * 10 + static_cast<std::size_t>(s[i] - '0');
    if (depth > kMaxDepth) return false;
    ++i;
  }
  if (i == 0 || i >= s.size() || s[i] != ' ') return false;
  rest = s.substr(i + 1);
  return depth >= 1;
}

}  // namespace

std::string OrderKey(std::string_view name) {
  Units u = ToUnits(name);
  for (auto& c : u) c = FoldUnit(c);
  for (auto& c : u) c = LowerAscii(c);  // "_" sorts before letters, as the system lists keys
  return FromUnits(u);
}

std::vector<std::string> SplitKeyPath(std::string_view path) {
  std::vector<std::string> parts;
  std::string cur;
  for (std::size_t i = 0; i < path.size();) {
    std::size_t n = UnitLength(path, i);
    if (n == 1 && path[i] == '\\') {
      if (!cur.empty()) parts.push_back(cur);
      cur.clear();
    } else {
      cur.append(path.substr(i, n));
    }
    i += n;
  }
  if (!cur.empty()) parts.push_back(cur);
  return parts;
}

RegNode* FindNode(RegNode& root, const std::vector<std::string>& path) {
  RegNode* node = &root;
  for (const std::string& part : path) {
    auto it = node->children.find(OrderKey(part));
    if (it == node->children.end()) return nullptr;
    node = &it->second;
  }
  return node;
}

RegNode& CreateNode(RegNode& root, const std::vector<std::string>& path) {
  RegNode* node = &root;
  for (const std::string& part : path) {
    RegNode& child = node->children[OrderKey(part)];
    if (child.name.empty()) child.name = part;
    node = &child;
  }
  return *node;
}

std::string SerializeTree(const RegNode& root) {
  std::string out = "SORMREG 1\n";
  SerializeNode(root, 1, out);
  return out;
}

RegNode ParseTree(std::string_view text) {
  RegNode root;
  std::vector<RegNode*> stack{&root};  // stack[d] is the last key read at depth d
  RegNode* current = nullptr;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() >= 2 && line[0] == 'K' && line[1] == ' ') {
      std::size_t depth;
      std::string_view rest;
      current = nullptr;
      if (!ParseDepth(line.substr(2), depth, rest) || depth > stack.size()) continue;
      std::string name = Unescape(rest);
      if (name.empty() || name.size() > kMaxNameBytes || SplitKeyPath(name).size() != 1 ||
          SplitKeyPath(name)[0] != name)
        continue;
      stack.resize(depth);
      RegNode& child = CreateNode(*stack.back(), {name});
      stack.push_back(&child);
      current = &child;
    } else if (line.size() >= 2 && line[0] == 'V' && line[1] == ' ' && current) {
      current->hasValue = true;
      current->value = Unescape(line.substr(2));
    }
  }
  return root;
}

}  // namespace os::posix
