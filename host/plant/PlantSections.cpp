// The plant format's extension points: section and element registries, and the
// context section loaders work in (PlantSections.h).
#include <charconv>
#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "PlantFormat.h"

namespace host {


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

bool ValidId(std::string_view id) {
  if (id.empty()) return false;
  for (char c : id)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '-'))
      return false;
  return true;
}

bool ParseStrictDouble(std::string_view text, double& out) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && p == end && !text.empty() && std::isfinite(out);
}

bool ParseStrictInt(std::string_view text, std::int64_t& out) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && p == end && !text.empty();
}

bool ParseStrictBool(std::string_view text, bool& out) {
  if (text != "true" && text != "false") return false;
  out = text == "true";
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
std::vector<std::pair<std::string, PlantAssemblyCheck>>& AssemblyChecks() {
  static std::vector<std::pair<std::string, PlantAssemblyCheck>> v;
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

void RegisterPlantSection(const std::string& elementName, PlantSectionLoader loader, PlantSectionSaver saver,
                          PlantSectionPhase phase) {
  for (const char* core : {"products", "resources", "assemblies", "process", "links"})
    if (elementName == core) throw std::invalid_argument("<" + elementName + "> is a core plant section");
  if (elementName.empty()) throw std::invalid_argument("a plant section needs an element name");
  for (auto& s : Sections())
    if (s.name == elementName) {
      s.loader = std::move(loader);
      s.saver = std::move(saver);
      s.phase = phase;
      return;
    }
  Sections().push_back({elementName, std::move(loader), std::move(saver), nullptr, phase});
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
  if (parent != "activity" && parent != "relation" && parent != "product" && parent != "resource" && parent != "assembly" &&
      parent != "behavior")
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

bool LoadChildExtension(std::string_view parent, const PlantElement& child, const Ref<TavBaseUnknown>& owner,
                        PlantLoadContext& ctx) {
  const ExtensionEntry* x = FindExtension(parent, child.Name());
  if (!x) {
    ctx.Error(&child, "unknown element <" + child.Name() + "> in <" + std::string(parent) + ">");
    return false;
  }
  return x->loader(child, owner, ctx) && !ctx.Failed();
}

void SaveChildExtensions(std::string_view parent, const Ref<TavBaseUnknown>& owner, PlantWriter& w) {
  for (const ExtensionEntry* x : ExtensionsOf(parent))
    if (x->saver) x->saver(owner, w);
}

void RegisterPlantAssemblyCheck(const std::string& name, PlantAssemblyCheck check) {
  for (auto& [n, c] : AssemblyChecks())
    if (n == name) {
      c = std::move(check);
      return;
    }
  AssemblyChecks().emplace_back(name, std::move(check));
}

bool UnregisterElementExtension(const std::string& parentName, const std::string& childName) {
  std::string parent = parentName == "process" ? "activity" : parentName;
  return std::erase_if(Extensions(), [&](auto& e) { return e.parent == parent && e.child == childName; }) > 0;
}

// ------------------------------------------------------------------ load context

namespace plant {
std::string AttributeProblem(const XmlStart& e, std::initializer_list<AttrSpec> specs) {
  for (auto& s : specs) s.value->reset();
  for (std::size_t i = 0; i < e.count; ++i) {
    const AttrSpec* spec = nullptr;
    for (auto& s : specs)
      if (s.name == e.attrs[i].name) {
        spec = &s;
        break;
      }
    if (!spec) return "unknown attribute " + Quote(e.attrs[i].name) + " on <" + std::string(e.name) + ">";
    *spec->value = e.attrs[i].value;
  }
  for (auto& s : specs)
    if (s.required && !*s.value) return "<" + std::string(e.name) + "> lacks the required attribute " + Quote(s.name);
  return {};
}
}  // namespace plant

Ref<TavBaseUnknown> PlantLoadContext::Lookup(std::string_view id) const { return doc.ObjectById(id); }

Ref<HostActivity> PlantLoadContext::LoadActivityTree(const PlantElement& e, const ActivityRootMaker& makeRoot) {
  if (!treeLoader_ || !makeRoot) {
    Error(&e, "<" + Name(e) + "> cannot be loaded here");
    return nullptr;
  }
  return treeLoader_(e, makeRoot);
}

std::string PlantLoadContext::Where(const PlantElement* at) const {
  return fileName_ + ":" + std::to_string(at ? at->Line() : 1) + ":" + std::to_string(at ? at->Column() : 1);
}

void PlantLoadContext::Error(const PlantElement* at, const std::string& message) {
  if (error_.empty()) error_ = Where(at) + ": " + message;
}

void PlantLoadContext::ErrorAt(std::uint32_t line, std::uint32_t column, const std::string& message) {
  if (error_.empty()) error_ = fileName_ + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
}

const std::vector<const PlantElement*>& PlantLoadContext::Children(const PlantElement& e) {
  static const std::vector<const PlantElement*> none;
  if (e.TextAt() != PlantElement::kNoText) {
    Error(&e, "unexpected text in <" + e.Name() + ">");
    return none;
  }
  return e.Children();
}

bool PlantLoadContext::Expect(const PlantElement& e, std::string_view name) {
  if (e.Name() == name) return true;
  std::string in = e.Parent() ? " in <" + e.Parent()->Name() + ">" : "";
  Error(&e, "unknown element <" + e.Name() + ">" + in);
  return false;
}

bool PlantLoadContext::ReadAttributes(const PlantElement& e, std::initializer_list<AttributeSpec> specs) {
  for (auto& s : specs) s.value->reset();
  for (auto& a : e.Attributes()) {
    const AttributeSpec* spec = nullptr;
    for (auto& s : specs)
      if (a.name == s.name) {
        spec = &s;
        break;
      }
    if (!spec) {
      Error(&e, "unknown attribute " + Quote(a.name) + " on <" + e.Name() + ">");
      return false;
    }
    *spec->value = a.value;
  }
  for (auto& s : specs)
    if (s.required && !*s.value) {
      Error(&e, "<" + e.Name() + "> lacks the required attribute " + Quote(s.name));
      return false;
    }
  return true;
}

bool PlantLoadContext::CheckNewId(const PlantElement& e, const std::string& id) {
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

bool ParsePlantMatrix(const PlantElement& e, std::string_view attr, const std::string& text, PlantLoadContext& ctx,
                      std::array<double, 12>& m) {
  std::size_t at = 0, n = 0;
  const std::string quoted = std::string(attr) + "=\"" + text + "\"";
  while (true) {
    std::size_t end = text.find(' ', at);
    std::string word = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (n == m.size()) {
      ctx.Error(&e, quoted + " holds more than 12 numbers");
      return false;
    }
    if (!ctx.ParseDouble(e, attr, word, m[n++])) return false;
    if (end == std::string::npos) break;
    at = end + 1;
  }
  if (n != m.size()) {
    ctx.Error(&e, quoted + " holds " + std::to_string(n) + " numbers, not 12");
    return false;
  }
  return true;
}

bool PlantLoadContext::ParseDouble(const PlantElement& e, std::string_view attr, const std::string& text, double& out) {
  if (ParseStrictDouble(text, out)) return true;
  Error(&e, "bad number " + Quote(text) + " in " + Quote(attr));
  return false;
}

bool PlantLoadContext::ParseInt(const PlantElement& e, std::string_view attr, const std::string& text, std::int64_t& out) {
  if (ParseStrictInt(text, out)) return true;
  Error(&e, "bad integer " + Quote(text) + " in " + Quote(attr));
  return false;
}

bool PlantLoadContext::ParseBool(const PlantElement& e, std::string_view attr, const std::string& text, bool& out) {
  if (ParseStrictBool(text, out)) return true;
  Error(&e, "bad boolean " + Quote(text) + " in " + Quote(attr) + " (true or false)");
  return false;
}

}  // namespace host
