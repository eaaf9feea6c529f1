// The plant format's extension points: section and element registries, and the
// context section loaders work in (PlantSections.h).
#include <charconv>
#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "PlantFormat.h"

namespace host {

using namespace xercesc;

// ------------------------------------------------------------------ small helpers
namespace plant {

void AppendUtf8From16(std::string& out, const XMLCh* s) {
  if (!s) return;
  for (; *s; ++s) {
    char32_t c = *s;
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF && s[1] >= 0xDC00 && s[1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[1] - 0xDC00);
      ++s;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
}

std::string Utf8(const XMLCh* s) {
  std::string out;
  AppendUtf8From16(out, s);
  return out;
}

// An XMLCh string equals an ASCII name.
bool Is(const XMLCh* s, std::string_view name) {
  if (!s) return false;
  std::size_t i = 0;
  for (; i < name.size(); ++i)
    if (s[i] != static_cast<unsigned char>(name[i])) return false;
  return s[i] == 0;
}

bool ValidId(std::string_view id) {
  if (id.empty()) return false;
  for (char c : id)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '-'))
      return false;
  return true;
}

bool AllSpace(const XMLCh* s) {
  for (; s && *s; ++s)
    if (*s != ' ' && *s != '\t' && *s != '\n' && *s != '\r') return false;
  return true;
}

std::string Quote(std::string_view s) { return "'" + std::string(s) + "'"; }

std::string Stem(const std::string& path) { return std::filesystem::path(path).stem().string(); }

std::string KindOf(const Ref<TavBaseUnknown>& o) {
  Ref<TavBaseUnknown> x = o ? o->ExtendedObject() : nullptr;
  if (auto p = std::dynamic_pointer_cast<HostProduct>(x)) return p->IsResource() ? "resource" : "product";
  if (std::dynamic_pointer_cast<HostAssembly>(x)) return "assembly";
  if (std::dynamic_pointer_cast<HostActivity>(x)) return "activity";
  return "object";
}

// ------------------------------------------------------------------ registries
std::vector<SectionEntry>& Sections() {
  static std::vector<SectionEntry> v;
  return v;
}
std::vector<ExtensionEntry>& Extensions() {
  static std::vector<ExtensionEntry> v;
  return v;
}

const SectionEntry* FindSection(std::string_view name) {
  for (auto& s : Sections())
    if (s.name == name) return &s;
  return nullptr;
}
const ExtensionEntry* FindExtension(std::string_view parent, std::string_view child) {
  for (auto& e : Extensions())
    if (e.parent == parent && e.child == child) return &e;
  return nullptr;
}
std::vector<const ExtensionEntry*> ExtensionsOf(std::string_view parent) {
  std::vector<const ExtensionEntry*> out;
  for (auto& e : Extensions())
    if (e.parent == parent) out.push_back(&e);
  return out;
}

bool IsCoreChild(std::string_view parent, std::string_view child) {
  if (child == "attribute") return true;
  if (parent == "activity") return child == "activity" || child == "relation";
  if (parent == "product") return child == "product";
  if (parent == "resource") return child == "resource";
  if (parent == "assembly") return child == "part";
  return false;
}

}  // namespace plant

using namespace plant;

void RegisterPlantSection(const std::string& elementName, PlantSectionLoader loader, PlantSectionSaver saver) {
  for (const char* core : {"products", "resources", "assemblies", "process", "links"})
    if (elementName == core) throw std::invalid_argument("<" + elementName + "> is a core plant section");
  if (elementName.empty()) throw std::invalid_argument("a plant section needs an element name");
  for (auto& s : Sections())
    if (s.name == elementName) {
      s.loader = std::move(loader);
      s.saver = std::move(saver);
      return;
    }
  Sections().push_back({elementName, std::move(loader), std::move(saver), nullptr});
}

bool UnregisterPlantSection(const std::string& elementName) {
  return std::erase_if(Sections(), [&](auto& s) { return s.name == elementName; }) > 0;
}

void RegisterPlantActivityRoots(const std::string& elementName, PlantActivityRootLister lister) {
  for (auto& s : Sections())
    if (s.name == elementName) {
      s.roots = std::move(lister);
      return;
    }
  throw std::invalid_argument("no plant section <" + elementName + "> is registered");
}

void RegisterElementExtension(const std::string& parentName, const std::string& childName, PlantElementLoader loader,
                              PlantElementSaver saver) {
  std::string parent = parentName == "process" ? "activity" : parentName;
  if (parent != "activity" && parent != "relation" && parent != "product" && parent != "resource" && parent != "assembly")
    throw std::invalid_argument("<" + parentName + "> takes no element extensions");
  if (childName.empty() || IsCoreChild(parent, childName))
    throw std::invalid_argument("<" + childName + "> is a core child of <" + parentName + ">");
  for (auto& e : Extensions())
    if (e.parent == parent && e.child == childName) {
      e.loader = std::move(loader);
      e.saver = std::move(saver);
      return;
    }
  Extensions().push_back({parent, childName, std::move(loader), std::move(saver)});
}

bool UnregisterElementExtension(const std::string& parentName, const std::string& childName) {
  std::string parent = parentName == "process" ? "activity" : parentName;
  return std::erase_if(Extensions(), [&](auto& e) { return e.parent == parent && e.child == childName; }) > 0;
}

// ------------------------------------------------------------------ load context

Ref<TavBaseUnknown> PlantLoadContext::Lookup(std::string_view id) const { return doc.FindById(TavUnicodeString(id)); }

Ref<HostActivity> PlantLoadContext::LoadActivityTree(const DOMElement& e, const ActivityRootMaker& makeRoot) {
  if (!treeLoader_ || !makeRoot) {
    Error(&e, "<" + Name(e) + "> cannot be loaded here");
    return nullptr;
  }
  return treeLoader_(e, makeRoot);
}

std::string PlantLoadContext::Where(const DOMNode* at) const {
  std::uint32_t line = 1, column = 1;
  // Positions are kept per element; an attribute or text reports its element.
  for (const DOMNode* n = at; n; n = n->getNodeType() == DOMNode::ATTRIBUTE_NODE
                                          ? static_cast<const DOMAttr*>(n)->getOwnerElement()
                                          : n->getParentNode()) {
    if (n->getNodeType() != DOMNode::ELEMENT_NODE || !positions_) continue;
    bool found = false;
    for (auto& p : *positions_)
      if (p.node == n) {
        line = p.line;
        column = p.column;
        found = true;
        break;
      }
    if (found) break;
  }
  return fileName_ + ":" + std::to_string(line) + ":" + std::to_string(column);
}

void PlantLoadContext::Error(const DOMNode* at, const std::string& message) {
  if (error_.empty()) error_ = Where(at) + ": " + message;
}

std::string PlantLoadContext::Name(const DOMElement& e) { return Utf8(e.getTagName()); }

std::vector<const DOMElement*> PlantLoadContext::Children(const DOMElement& e) {
  std::vector<const DOMElement*> out;
  for (const DOMNode* c = e.getFirstChild(); c; c = c->getNextSibling()) {
    switch (c->getNodeType()) {
      case DOMNode::ELEMENT_NODE: out.push_back(static_cast<const DOMElement*>(c)); break;
      case DOMNode::TEXT_NODE:
      case DOMNode::CDATA_SECTION_NODE:
        if (!AllSpace(c->getNodeValue())) {
          Error(&e, "unexpected text in <" + Name(e) + ">");
          return {};
        }
        break;
      default: break;  // comments and processing instructions carry nothing
    }
  }
  return out;
}

bool PlantLoadContext::Expect(const DOMElement& e, std::string_view name) {
  if (Is(e.getTagName(), name)) return true;
  const DOMNode* parent = e.getParentNode();
  std::string in = parent && parent->getNodeType() == DOMNode::ELEMENT_NODE
                       ? " in <" + Name(*static_cast<const DOMElement*>(parent)) + ">"
                       : "";
  Error(&e, "unknown element <" + Name(e) + ">" + in);
  return false;
}

bool PlantLoadContext::ReadAttributes(const DOMElement& e, std::initializer_list<AttributeSpec> specs) {
  for (auto& s : specs) s.value->reset();
  const DOMNamedNodeMap* attrs = e.getAttributes();
  const XMLSize_t n = attrs ? attrs->getLength() : 0;
  for (XMLSize_t i = 0; i < n; ++i) {
    auto* a = static_cast<const DOMAttr*>(attrs->item(i));
    const XMLCh* name = a->getName();
    const AttributeSpec* spec = nullptr;
    for (auto& s : specs)
      if (Is(name, s.name)) {
        spec = &s;
        break;
      }
    if (!spec) {
      Error(&e, "unknown attribute " + Quote(Utf8(name)) + " on <" + Name(e) + ">");
      return false;
    }
    spec->value->emplace();
    AppendUtf8From16(**spec->value, a->getValue());
  }
  for (auto& s : specs)
    if (s.required && !*s.value) {
      Error(&e, "<" + Name(e) + "> lacks the required attribute " + Quote(s.name));
      return false;
    }
  return true;
}

bool PlantLoadContext::CheckNewId(const DOMElement& e, const std::string& id) {
  if (!ValidId(id)) {
    Error(&e, "bad id " + Quote(id) + " (letters, digits, '_', '.', '-')");
    return false;
  }
  if (Lookup(id)) {
    Error(&e, "duplicate id " + Quote(id));
    return false;
  }
  return true;
}

bool PlantLoadContext::ParseDouble(const DOMElement& e, std::string_view attr, const std::string& text, double& out) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, out);
  if (ec != std::errc() || p != end || text.empty() || !std::isfinite(out)) {
    Error(&e, "bad number " + Quote(text) + " in " + Quote(attr));
    return false;
  }
  return true;
}

bool PlantLoadContext::ParseInt(const DOMElement& e, std::string_view attr, const std::string& text, std::int64_t& out) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, out);
  if (ec != std::errc() || p != end || text.empty()) {
    Error(&e, "bad integer " + Quote(text) + " in " + Quote(attr));
    return false;
  }
  return true;
}

bool PlantLoadContext::ParseBool(const DOMElement& e, std::string_view attr, const std::string& text, bool& out) {
  if (text == "true" || text == "false") {
    out = text == "true";
    return true;
  }
  Error(&e, "bad boolean " + Quote(text) + " in " + Quote(attr) + " (true or false)");
  return false;
}

}  // namespace host
