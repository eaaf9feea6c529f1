// Plant documents: Xerces DOM in, a hand writer out (see docs/plant-format.md).
#include "PlantDocument.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/internal/XMLScanner.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/sax/EntityResolver.hpp>
#include <xercesc/sax/ErrorHandler.hpp>
#include <xercesc/sax/Locator.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/validators/DTD/DTDElementDecl.hpp>

#include "HostRuntime.h"
#include "PlantSections.h"
#include "XercesInit.h"

namespace host {

using namespace xercesc;

// ------------------------------------------------------------------ small helpers
namespace {

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

std::string KindOf(const Ref<TavBaseUnknown>& o) {
  Ref<TavBaseUnknown> x = o ? o->ExtendedObject() : nullptr;
  if (auto p = std::dynamic_pointer_cast<HostProduct>(x)) return p->IsResource() ? "resource" : "product";
  if (std::dynamic_pointer_cast<HostAssembly>(x)) return "assembly";
  if (std::dynamic_pointer_cast<HostActivity>(x)) return "activity";
  return "object";
}

// ------------------------------------------------------------------ registries
struct SectionEntry {
  std::string name;
  PlantSectionLoader loader;
  PlantSectionSaver saver;
  PlantActivityRootLister roots;  // activity trees the section writes, for <links>
};
struct ExtensionEntry {
  std::string parent, child;
  PlantElementLoader loader;
  PlantElementSaver saver;
};
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

}  // namespace

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
// The loader lends the context its activity-tree reader for the time of a load.
struct PlantLoadAccess {
  static void SetTreeLoader(PlantLoadContext& ctx,
                            std::function<Ref<HostActivity>(const DOMElement&, const PlantLoadContext::ActivityRootMaker&)> f) {
    ctx.treeLoader_ = std::move(f);
  }
};

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

// ------------------------------------------------------------------ parser
namespace {

// Records where each element starts (the scanner stands at the end of its start tag).
class PositionParser final : public XercesDOMParser {
public:
  std::vector<PlantElementPosition> positions;
  bool sawDoctype = false;
  std::uint32_t doctypeLine = 1, doctypeColumn = 1;

  void startElement(const XMLElementDecl& decl, const unsigned int urlId, const XMLCh* const prefix,
                    const RefVectorOf<XMLAttr>& attrs, const XMLSize_t count, const bool isEmpty,
                    const bool isRoot) override {
    // Before the call the parent is the current parent (the current node may be
    // a text node); the new element is then its last child, empty or not.
    DOMNode* parent = fCurrentParent ? fCurrentParent : getCurrentNode();
    const Locator* loc = getScanner()->getLocator();
    auto line = static_cast<std::uint32_t>(loc->getLineNumber());
    auto column = static_cast<std::uint32_t>(loc->getColumnNumber());
    XercesDOMParser::startElement(decl, urlId, prefix, attrs, count, isEmpty, isRoot);
    DOMNode* el = parent ? parent->getLastChild() : nullptr;
    if (el) positions.push_back({el, line, column});
  }

  void doctypeDecl(const DTDElementDecl& decl, const XMLCh* const publicId, const XMLCh* const systemId,
                   const bool hasIntSubset, const bool hasExtSubset) override {
    if (!sawDoctype) {
      const Locator* loc = getScanner()->getLocator();
      doctypeLine = static_cast<std::uint32_t>(loc->getLineNumber());
      doctypeColumn = static_cast<std::uint32_t>(loc->getColumnNumber());
    }
    sawDoctype = true;
    XercesDOMParser::doctypeDecl(decl, publicId, systemId, hasIntSubset, hasExtSubset);
  }
};

class FirstError final : public ErrorHandler {
public:
  explicit FirstError(const std::string& file) : file_(file) {}
  void warning(const SAXParseException&) override {}
  void error(const SAXParseException& e) override { Record(e); }
  void fatalError(const SAXParseException& e) override { Record(e); }
  void resetErrors() override {}
  const std::string& Message() const { return message_; }

private:
  void Record(const SAXParseException& e) {
    if (!message_.empty()) return;
    message_ = file_ + ":" + std::to_string(e.getLineNumber()) + ":" + std::to_string(e.getColumnNumber()) +
               ": " + Utf8(e.getMessage());
  }
  const std::string& file_;
  std::string message_;
};

// Input never reaches outside the bytes given: every external entity reads as empty.
class NoExternalEntities final : public EntityResolver {
public:
  InputSource* resolveEntity(const XMLCh* const, const XMLCh* const) override {
    static const XMLByte empty[1] = {0};
    return new MemBufInputSource(empty, 0, "external-entity", false);
  }
};

// ------------------------------------------------------------------ loader
class Loader {
public:
  explicit Loader(PlantLoadContext& c) : ctx_(c), doc_(c.doc) {
    PlantLoadAccess::SetTreeLoader(ctx_, [this](const DOMElement& e, const PlantLoadContext::ActivityRootMaker& makeRoot) {
      return LoadTree(e, &makeRoot);
    });
  }
  ~Loader() { PlantLoadAccess::SetTreeLoader(ctx_, nullptr); }
  Loader(const Loader&) = delete;
  Loader& operator=(const Loader&) = delete;

  bool Load(const DOMElement& root) {
    for (const DOMElement* s : ctx_.Children(root)) {
      const XMLCh* tag = s->getTagName();
      bool ok = true;
      if (Is(tag, "products")) ok = LoadProducts(*s, false);
      else if (Is(tag, "resources")) ok = LoadProducts(*s, true);
      else if (Is(tag, "assemblies")) ok = LoadAssemblies(*s);
      else if (Is(tag, "process")) ok = LoadTree(*s, nullptr) != nullptr;
      else if (Is(tag, "links")) links_.push_back(s);
      else if (auto* sec = FindSection(PlantLoadContext::Name(*s))) sections_.emplace_back(s, sec);
      else {
        ctx_.Error(s, "unknown element <" + PlantLoadContext::Name(*s) + "> in <plant>");
        return false;
      }
      if (!ok || ctx_.Failed()) return false;
    }
    if (ctx_.Failed()) return false;
    for (auto& [el, sec] : sections_) {
      if (!sec->loader || !sec->loader(*el, ctx_) || ctx_.Failed()) {
        if (!ctx_.Failed()) ctx_.Error(el, "<" + sec->name + "> could not be loaded");
        return false;
      }
    }
    if (!LoadRelations() || !LoadParts() || !LoadLinks()) return false;
    for (auto& x : exts_) {
      if (!x.entry->loader || !x.entry->loader(*x.el, x.owner, ctx_) || ctx_.Failed()) {
        if (!ctx_.Failed()) ctx_.Error(x.el, "<" + x.entry->child + "> could not be loaded");
        return false;
      }
    }
    return true;
  }

private:
  struct PendingExtension {
    const DOMElement* el;
    const ExtensionEntry* entry;
    Ref<TavBaseUnknown> owner;
  };

  // The children of an element not handled by `core`: <attribute> goes onto the
  // holder, a registered extension is queued, anything else is an error.
  template <class Core>
  bool Walk(const DOMElement& e, std::string_view kind, TavIAttributeHolder* holder, const Ref<TavBaseUnknown>& owner,
            Core&& core) {
    for (const DOMNode* c = e.getFirstChild(); c; c = c->getNextSibling()) {
      auto type = c->getNodeType();
      if (type == DOMNode::TEXT_NODE || type == DOMNode::CDATA_SECTION_NODE) {
        if (!AllSpace(c->getNodeValue())) {
          ctx_.Error(&e, "unexpected text in <" + PlantLoadContext::Name(e) + ">");
          return false;
        }
        continue;
      }
      if (type != DOMNode::ELEMENT_NODE) continue;
      auto* ce = static_cast<const DOMElement*>(c);
      const XMLCh* tag = ce->getTagName();
      if (Is(tag, "attribute") && holder) {
        if (!LoadAttribute(*ce, *holder)) return false;
        continue;
      }
      int r = core(*ce, tag);
      if (r < 0) return false;
      if (r > 0) continue;
      std::string name = PlantLoadContext::Name(*ce);
      if (auto* x = FindExtension(kind, name)) {
        exts_.push_back({ce, x, owner});
        continue;
      }
      ctx_.Error(ce, "unknown element <" + name + "> in <" + PlantLoadContext::Name(e) + ">");
      return false;
    }
    return true;
  }

  bool LoadAttribute(const DOMElement& e, TavIAttributeHolder& holder) {
    std::optional<std::string> name, type, value;
    if (!ctx_.ReadAttributes(e, {{"name", &name, true}, {"type", &type, true}, {"value", &value, false}})) return false;
    if (name->empty()) {
      ctx_.Error(&e, "an attribute needs a name");
      return false;
    }
    TavValue v;
    if (*type == "none") {
      if (value) {
        ctx_.Error(&e, "an attribute of type 'none' has no value");
        return false;
      }
    } else {
      if (!value) {
        ctx_.Error(&e, "<attribute> lacks the required attribute 'value'");
        return false;
      }
      if (*type == "string") {
        v = TavUnicodeString(std::move(*value));
      } else if (*type == "int") {
        std::int64_t i;
        if (!ctx_.ParseInt(e, "value", *value, i)) return false;
        v = i;
      } else if (*type == "double") {
        double d;
        if (!ctx_.ParseDouble(e, "value", *value, d)) return false;
        v = d;
      } else if (*type == "bool") {
        bool b;
        if (!ctx_.ParseBool(e, "value", *value, b)) return false;
        v = b;
      } else {
        ctx_.Error(&e, "unknown attribute type " + Quote(*type) + " (string, int, double, bool, none)");
        return false;
      }
    }
    TavUnicodeString key(std::move(*name));
    if (holder.GetAttribute(key)) {
      ctx_.Error(&e, "duplicate attribute " + Quote(key.utf8()));
      return false;
    }
    holder.SetAttribute(key, std::move(v));
    return true;
  }

  // Product and resource trees; iterative, so any nesting depth loads.
  bool LoadProducts(const DOMElement& list, bool resource) {
    const char* tag = resource ? "resource" : "product";
    std::vector<std::pair<const DOMElement*, Ref<HostProduct>>> stack;
    std::vector<const DOMElement*> kids;
    auto collect = [&](const DOMElement& e, const Ref<HostProduct>& father) {
      kids.clear();
      bool ok = Walk(e, father ? tag : "", father.get(), father, [&](const DOMElement& c, const XMLCh* t) {
        if (!Is(t, tag)) return 0;
        kids.push_back(&c);
        return 1;
      });
      for (auto it = kids.rbegin(); it != kids.rend(); ++it) stack.emplace_back(*it, father);
      return ok;
    };
    if (!collect(list, nullptr)) return false;
    std::optional<std::string> id, name, pn, type;
    while (!stack.empty()) {
      auto [e, father] = std::move(stack.back());
      stack.pop_back();
      bool ok = resource ? ctx_.ReadAttributes(*e, {{"id", &id, true}, {"name", &name, true},
                                                    {"type", &type, false}, {"partNumber", &pn, false}})
                         : ctx_.ReadAttributes(*e, {{"id", &id, true}, {"name", &name, true}, {"partNumber", &pn, false}});
      if (!ok || !ctx_.CheckNewId(*e, *id)) return false;
      Ref<HostProduct> p = doc_.CreateProduct(father, *id, std::move(*name), pn ? TavUnicodeString(std::move(*pn)) : TavUnicodeString(),
                                              resource);
      if (resource && type) p->SetResourceType(std::move(*type));
      if (!collect(*e, p)) return false;
    }
    return true;
  }

  bool LoadAssemblies(const DOMElement& list) {
    std::optional<std::string> id, name, pn, type, byStructure;
    for (const DOMElement* e : ctx_.Children(list)) {
      if (!ctx_.Expect(*e, "assembly")) return false;
      if (!ctx_.ReadAttributes(*e, {{"id", &id, true}, {"name", &name, true}, {"partNumber", &pn, false},
                                    {"type", &type, false}, {"byStructure", &byStructure, false}}) ||
          !ctx_.CheckNewId(*e, *id))
        return false;
      std::int64_t t = 1;
      if (type && !ctx_.ParseInt(*e, "type", *type, t)) return false;
      if (t < 1 || t > 4) {
        ctx_.Error(e, "unknown assembly type " + Quote(*type) + " (1 assembly, 2 kit, 3 output, 4 AST)");
        return false;
      }
      bool bs = false;
      if (byStructure && !ctx_.ParseBool(*e, "byStructure", *byStructure, bs)) return false;
      Ref<HostAssembly> a = doc_.CreateAssembly(*id, std::move(*name), static_cast<int>(t));
      if (pn) a->SetPartNumber(std::move(*pn));
      a->SetContentByStructure(bs);
      bool ok = Walk(*e, "assembly", a.get(), a, [&](const DOMElement& c, const XMLCh* tag) {
        if (!Is(tag, "part")) return 0;
        parts_.emplace_back(&c, a.get());
        return 1;
      });
      if (!ok) return false;
    }
    return !ctx_.Failed();
  }

  // A <process> element (makeRoot null: a root process) or an activity tree of a
  // section; iterative, so any nesting depth loads. Returns the root, or null.
  Ref<HostActivity> LoadTree(const DOMElement& root, const PlantLoadContext::ActivityRootMaker* makeRoot) {
    std::optional<std::string> id, name, type, time, description;
    std::vector<std::pair<const DOMElement*, Ref<HostActivity>>> stack{{&root, nullptr}};
    std::vector<const DOMElement*> kids;
    Ref<HostActivity> top;
    while (!stack.empty()) {
      auto [e, father] = std::move(stack.back());
      stack.pop_back();
      if (!ctx_.ReadAttributes(*e, {{"id", &id, true}, {"name", &name, true}, {"type", &type, false},
                                    {"time", &time, false}, {"description", &description, false}}) ||
          !ctx_.CheckNewId(*e, *id))
        return nullptr;
      const std::string typeName = type ? *type : "Activity";
      if (!FindType(typeName)) {
        ctx_.Error(e, "unknown activity type " + Quote(typeName));
        return nullptr;
      }
      double t = 0;
      if (time && !ctx_.ParseDouble(*e, "time", *time, t)) return nullptr;
      Ref<HostActivity> a;
      if (father) a = doc_.CreateActivity(father, typeName, *id, std::move(*name));
      else if (makeRoot) a = (*makeRoot)(*id, TavUnicodeString(std::move(*name)), typeName);
      else a = doc_.CreateRootProcess(*id, std::move(*name), typeName);
      if (!a) {
        ctx_.Error(e, "<" + PlantLoadContext::Name(*e) + "> could not be made");
        return nullptr;
      }
      if (!father) top = a;
      if (t != 0) a->SetTime(t);
      if (description) a->SetDescription(std::move(*description));
      kids.clear();
      bool ok = Walk(*e, "activity", a.get(), a, [&](const DOMElement& c, const XMLCh* tag) {
        if (Is(tag, "activity")) kids.push_back(&c);
        else if (Is(tag, "relation")) relations_.emplace_back(&c, a.get());
        else return 0;
        return 1;
      });
      if (!ok) return nullptr;
      for (auto it = kids.rbegin(); it != kids.rend(); ++it) stack.emplace_back(*it, a);
    }
    return top;
  }

  Ref<TavBaseUnknown> Resolve(const DOMElement& e, std::string_view what, const std::string& id) {
    Ref<TavBaseUnknown> o = ctx_.Lookup(id);
    if (!o) ctx_.Error(&e, std::string(what) + " names an unknown id " + Quote(id));
    return o;
  }

  bool LoadRelations() {
    std::optional<std::string> type, ref;
    for (auto& [e, act] : relations_) {
      if (!ctx_.ReadAttributes(*e, {{"type", &type, true}, {"ref", &ref, true}})) return false;
      const RelationTypeInfo* info = FindRelationType(*type);
      if (!info) {
        ctx_.Error(e, "unknown relation type " + Quote(*type));
        return false;
      }
      Ref<TavBaseUnknown> target = Resolve(*e, "relation", *ref);
      if (!target) return false;
      Ref<TavISPPActivitySpecification> rel;
      HRESULT hr = act->CreateRelation(info->name, target, &rel);
      if (hr == S_FALSE) {
        ctx_.Error(e, "duplicate relation " + Quote(*type) + " to " + Quote(*ref));
        return false;
      }
      if (FAILED(hr) || !rel) {
        ctx_.Error(e, "relation " + Quote(*type) + " cannot point at " + KindOf(target) + " " + Quote(*ref));
        return false;
      }
      auto* holder = dynamic_cast<TavIAttributeHolder*>(rel.get());
      Ref<TavBaseUnknown> owner = std::dynamic_pointer_cast<TavBaseUnknown>(rel);
      if (!Walk(*e, "relation", holder, owner, [](const DOMElement&, const XMLCh*) { return 0; })) return false;
    }
    return true;
  }

  bool LoadParts() {
    // Resolve everything first: a containment cycle must be refused before any
    // part is added, since assemblies hold their parts strongly.
    std::vector<Ref<TavBaseUnknown>> targets;
    targets.reserve(parts_.size());
    std::unordered_map<HostAssembly*, std::vector<HostAssembly*>> sub;
    std::unordered_map<HostAssembly*, std::unordered_set<const TavBaseUnknown*>> seen;
    std::optional<std::string> ref;
    for (auto& [e, a] : parts_) {
      if (!ctx_.ReadAttributes(*e, {{"ref", &ref, true}})) return false;
      Ref<TavBaseUnknown> t = Resolve(*e, "part", *ref);
      if (!t) return false;
      t = t->ExtendedObject();
      auto p = std::dynamic_pointer_cast<HostProduct>(t);
      auto sa = std::dynamic_pointer_cast<HostAssembly>(t);
      if ((p && p->IsResource()) || (!p && !sa)) {
        ctx_.Error(e, "part " + Quote(*ref) + " is a " + KindOf(t) + ", not a product or an assembly");
        return false;
      }
      if (sa.get() == a) {
        ctx_.Error(e, "assembly " + Quote(*ref) + " cannot contain itself");
        return false;
      }
      if (!seen[a].insert(t.get()).second) {
        ctx_.Error(e, "duplicate part " + Quote(*ref));
        return false;
      }
      if (sa) sub[a].push_back(sa.get());
      targets.push_back(std::move(t));
      if (!Walk(*e, "part", nullptr, nullptr, [](const DOMElement&, const XMLCh*) { return 0; })) return false;
    }
    // Iterative three-colour search for a cycle among assemblies.
    std::unordered_map<HostAssembly*, int> colour;
    for (auto& [start, unused] : sub) {
      if (colour[start]) continue;
      std::vector<std::pair<HostAssembly*, std::size_t>> work{{start, 0}};
      colour[start] = 1;
      while (!work.empty()) {
        auto& [a, i] = work.back();
        auto it = sub.find(a);
        if (it == sub.end() || i == it->second.size()) {
          colour[a] = 2;
          work.pop_back();
          continue;
        }
        HostAssembly* next = it->second[i++];
        int& c = colour[next];
        if (c == 1) {
          for (auto& [e, owner] : parts_)
            if (owner == next) {
              ctx_.Error(e->getParentNode(), "assembly " + Quote(next->IdString()) + " contains itself through its parts");
              return false;
            }
          ctx_.Error(nullptr, "assemblies contain each other");
          return false;
        }
        if (c == 0) {
          c = 1;
          work.emplace_back(next, 0);
        }
      }
    }
    for (std::size_t i = 0; i < parts_.size(); ++i) parts_[i].second->AddPart(targets[i]);
    return true;
  }

  bool LoadLinks() {
    std::optional<std::string> from, to;
    for (const DOMElement* list : links_) {
      if (!ctx_.ReadAttributes(*list, {})) return false;
      for (const DOMElement* e : ctx_.Children(*list)) {
        bool flow = Is(e->getTagName(), "flow");
        if (!flow && !ctx_.Expect(*e, "precedence")) return false;
        if (!ctx_.ReadAttributes(*e, {{"from", &from, true}, {"to", &to, true}})) return false;
        Ref<HostActivity> ends[2];
        const std::string* ids[2] = {&*from, &*to};
        for (int k = 0; k < 2; ++k) {
          Ref<TavBaseUnknown> o = Resolve(*e, k ? "'to'" : "'from'", *ids[k]);
          if (!o) return false;
          ends[k] = std::dynamic_pointer_cast<HostActivity>(o->ExtendedObject());
          if (!ends[k]) {
            ctx_.Error(e, std::string(k ? "'to' " : "'from' ") + Quote(*ids[k]) + " is a " + KindOf(o) + ", not an activity");
            return false;
          }
        }
        if (ends[0] == ends[1]) {
          ctx_.Error(e, "activity " + Quote(*from) + " cannot be linked to itself");
          return false;
        }
        HRESULT hr = flow ? ends[0]->AddControlFlowLink(ends[1]) : ends[1]->AddPrecedence(ends[0]);
        if (hr != S_OK) {
          ctx_.Error(e, std::string(hr == S_FALSE ? "duplicate " : "cannot add ") + (flow ? "flow" : "precedence") +
                            " from " + Quote(*from) + " to " + Quote(*to));
          return false;
        }
        if (!Walk(*e, "link", nullptr, nullptr, [](const DOMElement&, const XMLCh*) { return 0; })) return false;
      }
      if (ctx_.Failed()) return false;
    }
    return true;
  }

  PlantLoadContext& ctx_;
  HostDocument& doc_;
  std::vector<std::pair<const DOMElement*, HostActivity*>> relations_;
  std::vector<std::pair<const DOMElement*, HostAssembly*>> parts_;
  std::vector<const DOMElement*> links_;
  std::vector<std::pair<const DOMElement*, const SectionEntry*>> sections_;
  std::vector<PendingExtension> exts_;
};

std::string Stem(const std::string& path) { return std::filesystem::path(path).stem().string(); }

}  // namespace

Ref<HostDocument> ParsePlant(const std::string& bytes, const std::string& fileName, std::string& error) {
  EnsureXerces();
  error.clear();
  try {
    FirstError errors(fileName);
    NoExternalEntities noEntities;
    SecurityManager security;
    security.setEntityExpansionLimit(1000);
    PositionParser parser;
    parser.setValidationScheme(XercesDOMParser::Val_Never);
    parser.setDoNamespaces(false);
    parser.setDoSchema(false);
    parser.setLoadExternalDTD(false);
    parser.setSkipDTDValidation(true);
    parser.setDisableDefaultEntityResolution(true);
    parser.setEntityResolver(&noEntities);
    parser.setSecurityManager(&security);
    parser.setCreateEntityReferenceNodes(false);
    parser.setCreateCommentNodes(false);
    parser.setErrorHandler(&errors);
    parser.setExitOnFirstFatalError(true);
    MemBufInputSource input(reinterpret_cast<const XMLByte*>(bytes.data()), bytes.size(), fileName.c_str(), false);
    parser.parse(input);
    if (!errors.Message().empty()) {
      error = errors.Message();
      return nullptr;
    }
    DOMDocument* dom = parser.getDocument();
    const DOMElement* root = dom ? dom->getDocumentElement() : nullptr;
    if (parser.sawDoctype) {
      error = fileName + ":" + std::to_string(parser.doctypeLine) + ":" + std::to_string(parser.doctypeColumn) +
              ": DOCTYPE declarations are not allowed in a plant file";
      return nullptr;
    }
    if (!root) {
      error = fileName + ":1:1: no <plant> element";
      return nullptr;
    }
    // The document is built only once the root says which environment it lives in.
    Ref<HostDocument> scratch = HostDocument::Create(false);
    PlantLoadContext head(*scratch, fileName, &parser.positions);
    if (!head.Expect(*root, "plant")) {
      error = head.ErrorMessage();
      return nullptr;
    }
    std::optional<std::string> format, environment, name;
    if (!head.ReadAttributes(*root, {{"format", &format, true}, {"environment", &environment, false}, {"name", &name, false}})) {
      error = head.ErrorMessage();
      return nullptr;
    }
    if (*format != "1") {
      head.Error(root, "unsupported plant format " + Quote(*format) + " (this program reads format 1)");
      error = head.ErrorMessage();
      return nullptr;
    }
    if (environment && *environment != "local" && *environment != "hub") {
      head.Error(root, "unknown environment " + Quote(*environment) + " (local or hub)");
      error = head.ErrorMessage();
      return nullptr;
    }
    Ref<HostDocument> doc = HostDocument::Create(environment && *environment == "hub");
    doc->SetDisplayName(name ? TavUnicodeString(*name) : TavUnicodeString(Stem(fileName)));
    PlantLoadContext ctx(*doc, fileName, &parser.positions);
    Loader loader(ctx);
    if (!loader.Load(*root) || ctx.Failed()) {
      error = ctx.Failed() ? ctx.ErrorMessage() : fileName + ":1:1: the plant could not be loaded";
      for (auto& a : doc->Assemblies().assemblies_) {  // parts may refer to each other
        auto parts = a->Parts();
        for (auto& p : parts) a->RemovePart(p);
      }
      return nullptr;
    }
    return doc;
  } catch (const OutOfMemoryException&) {
    error = fileName + ":1:1: out of memory while parsing";
  } catch (const XMLException& e) {
    error = fileName + ":" + std::to_string(e.getSrcLine()) + ":1: " + Utf8(e.getMessage());
  } catch (const DOMException& e) {
    error = fileName + ":1:1: " + Utf8(e.getMessage());
  } catch (const std::exception& e) {
    error = fileName + ":1:1: " + e.what();
  }
  return nullptr;
}

Ref<HostDocument> LoadPlant(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot open the plant file";
    return nullptr;
  }
  std::ostringstream ss;
  ss << in.rdbuf();
  if (in.bad()) {
    error = path + ": cannot read the plant file";
    return nullptr;
  }
  Ref<HostDocument> doc = ParsePlant(ss.str(), path, error);
  if (doc) doc->SetFilePath(path);
  return doc;
}

// ------------------------------------------------------------------ writer
namespace {
void Indent(std::string& out, int depth) { out.append(2 * static_cast<std::size_t>(std::min(depth, 64)), ' '); }
}  // namespace

void PlantWriter::CloseStartTag() {
  if (open_) {
    out_ += ">\n";
    open_ = false;
  }
}

void PlantWriter::Start(std::string_view element) {
  CloseStartTag();
  Indent(out_, depth_);
  out_ += '<';
  out_ += element;
  open_ = true;
  stack_.emplace_back(element);
  ++depth_;
}

void PlantWriter::Attr(std::string_view name, std::string_view value) {
  if (!open_) throw std::logic_error("PlantWriter::Attr outside a start tag");
  out_ += ' ';
  out_ += name;
  out_ += "=\"";
  AppendEscaped(value);
  out_ += '"';
}

void PlantWriter::AttrDouble(std::string_view name, double v) {
  if (!std::isfinite(v)) Problem("attribute " + Quote(name) + " holds a non-finite number");
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  Attr(name, std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)));
}

void PlantWriter::AttrInt(std::string_view name, std::int64_t v) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  Attr(name, std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)));
}

void PlantWriter::End() {
  if (stack_.empty()) throw std::logic_error("PlantWriter::End without Start");
  --depth_;
  if (open_) {
    out_ += "/>\n";
    open_ = false;
  } else {
    Indent(out_, depth_);
    out_ += "</";
    out_ += stack_.back();
    out_ += ">\n";
  }
  stack_.pop_back();
}

void PlantWriter::Problem(const std::string& message) {
  if (problem_.empty()) problem_ = message;
}

void PlantWriter::AppendEscaped(std::string_view s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const auto* end = p + s.size();
  auto ref = [&](unsigned cp) {
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, cp);
    out_ += "&#";
    out_.append(buf, r.ptr);
    out_ += ';';
  };
  while (p < end) {
    // Plain printable ASCII in one run.
    const auto* run = p;
    while (p < end && *p >= 0x20 && *p < 0x7F && *p != '&' && *p != '<' && *p != '>' && *p != '"') ++p;
    out_.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p - run));
    if (p == end) break;
    unsigned char c = *p;
    if (c == '&') { out_ += "&amp;"; ++p; continue; }
    if (c == '<') { out_ += "&lt;"; ++p; continue; }
    if (c == '>') { out_ += "&gt;"; ++p; continue; }
    if (c == '"') { out_ += "&quot;"; ++p; continue; }
    if (c < 0x80) {
      ++p;
      if (c == 0) out_ += "\xEF\xBF\xBD";  // NUL has no XML form at all
      else if (c == '\t' || c == '\n' || c == '\r' || c == 0x7F) ref(c);  // survive attribute normalisation
      else {
        ref(c);  // other C0 controls exist only in XML 1.1, as references
        needsXml11_ = true;
      }
      continue;
    }
    // A UTF-8 sequence: validated; anything malformed becomes U+FFFD.
    int len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
    char32_t cp = len == 4 ? c & 0x07 : len == 3 ? c & 0x0F : c & 0x1F;
    bool ok = len >= 2 && c >= 0xC2 && c <= 0xF4 && end - p >= len;
    for (int i = 1; ok && i < len; ++i) {
      if ((p[i] & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (ok && ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF)))
      ok = false;
    if (!ok) {
      out_ += "\xEF\xBF\xBD";
      ++p;
      continue;
    }
    if (cp == 0xFFFE || cp == 0xFFFF) out_ += "\xEF\xBF\xBD";
    else if ((cp >= 0x80 && cp <= 0x9F) || cp == 0x2028) ref(static_cast<unsigned>(cp));  // line ends in XML 1.1
    else out_.append(reinterpret_cast<const char*>(p), static_cast<std::size_t>(len));
    p += len;
  }
}

// ------------------------------------------------------------------ serializer
namespace {

class Serializer {
public:
  Serializer(const HostDocument& d, PlantWriter& w) : doc_(d), w_(w) {}

  void Body() {
    WriteProducts(doc_.Products().roots_, "products", "product");
    WriteProducts(doc_.Resources().roots_, "resources", "resource");
    WriteAssemblies();
    for (auto& root : doc_.Process().roots_) WriteProcess(root, "process");
    // The links of the trees that sections write come after those of the processes.
    for (auto& sec : Sections())
      if (sec.roots)
        for (auto& root : sec.roots(doc_))
          if (root) ListTree(*root);
    WriteLinks();
  }

private:
  std::string IdOf(const Ref<TavBaseUnknown>& o, std::string_view what) {
    Ref<TavBaseUnknown> x = o ? o->ExtendedObject() : nullptr;
    auto* h = dynamic_cast<HostObject*>(x.get());
    if (!h || h->Doc() != &doc_) {
      w_.Problem(std::string(what) + " refers to an object outside the document");
      return {};
    }
    return h->IdString();
  }

  void Id(const HostObject& o) {
    if (!ValidId(o.IdString())) w_.Problem("id " + Quote(o.IdString()) + " cannot be written (letters, digits, '_', '.', '-')");
    w_.Attr("id", std::string_view(o.IdString()));
  }

  void Attributes(const std::vector<TavAttribute>& attrs) {
    for (auto& a : attrs) {
      w_.Start("attribute");
      w_.Attr("name", a.name);
      std::visit(
          [&](auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
              w_.Attr("type", "none");
            } else if constexpr (std::is_same_v<T, TavUnicodeString>) {
              w_.Attr("type", "string");
              w_.Attr("value", v);
            } else if constexpr (std::is_same_v<T, std::int64_t>) {
              w_.Attr("type", "int");
              w_.AttrInt("value", v);
            } else if constexpr (std::is_same_v<T, double>) {
              w_.Attr("type", "double");
              w_.AttrDouble("value", v);
            } else {
              w_.Attr("type", "bool");
              w_.Attr("value", v ? "true" : "false");
            }
          },
          a.value);
      w_.End();
    }
  }

  void Extensions(const std::vector<const ExtensionEntry*>& exts, const Ref<TavBaseUnknown>& owner) {
    for (auto* x : exts) {
      if (!x->saver) continue;
      int depth = w_.Depth();
      x->saver(owner, w_);
      if (w_.Depth() != depth) {
        w_.Problem("the <" + x->child + "> extension left elements open");
        while (w_.Depth() > depth) w_.End();
      }
    }
  }

  void WriteProducts(const std::vector<Ref<HostProduct>>& roots, const char* list, const char* tag) {
    if (roots.empty()) return;
    auto exts = ExtensionsOf(tag);
    w_.Start(list);
    std::vector<std::pair<const HostProduct*, std::size_t>> work;
    auto open = [&](const Ref<HostProduct>& p) {
      w_.Start(tag);
      Id(*p);
      w_.Attr("name", p->GetName());
      if (p->IsResource() && !p->GetResourceType().IsEmpty()) w_.Attr("type", p->GetResourceType());
      if (!p->GetPartNumber().IsEmpty()) w_.Attr("partNumber", p->GetPartNumber());
      Attributes(p->GetAttributes());
      if (!exts.empty()) Extensions(exts, p);
      work.emplace_back(p.get(), 0);
    };
    for (auto& r : roots) {
      open(r);
      while (!work.empty()) {
        auto& [p, i] = work.back();
        if (i == p->Children().size()) {
          w_.End();
          work.pop_back();
          continue;
        }
        open(p->Children()[i++]);
      }
    }
    w_.End();
  }

  void WriteAssemblies() {
    auto& list = doc_.Assemblies().assemblies_;
    if (list.empty()) return;
    auto exts = ExtensionsOf("assembly");
    w_.Start("assemblies");
    for (auto& a : list) {
      w_.Start("assembly");
      Id(*a);
      w_.Attr("name", a->GetName());
      if (!a->GetPartNumber().IsEmpty()) w_.Attr("partNumber", a->GetPartNumber());
      w_.AttrInt("type", a->GetType());
      if (a->ContentByStructure()) w_.Attr("byStructure", "true");
      Attributes(a->GetAttributes());
      if (!exts.empty()) Extensions(exts, a);
      for (auto& p : a->Parts()) {
        w_.Start("part");
        w_.Attr("ref", IdOf(p, "a part"));
        w_.End();
      }
      w_.End();
    }
    w_.End();
  }

public:
  // A root process, or (through WritePlantActivityTree) a tree a section writes.
  void WriteProcess(const Ref<HostActivity>& root, std::string_view rootElement) {
    auto actExts = ExtensionsOf("activity");
    auto relExts = ExtensionsOf("relation");
    std::vector<std::pair<const HostActivity*, std::size_t>> work;
    auto open = [&](const Ref<HostActivity>& a, bool isRoot) {
      order_.push_back(a.get());
      w_.Start(isRoot ? rootElement : "activity");
      Id(*a);
      w_.Attr("name", a->GetLabel());
      w_.Attr("type", a->GetTypeName());
      if (a->GetTime() != 0) w_.AttrDouble("time", a->GetTime());
      if (!a->GetDescription().IsEmpty()) w_.Attr("description", a->GetDescription());
      for (auto& r : a->Relations()) {
        w_.Start("relation");
        w_.Attr("type", r->Type()->name);
        w_.Attr("ref", IdOf(r->GetTarget(), "a relation"));
        Attributes(r->GetAttributes());
        if (!relExts.empty()) Extensions(relExts, r);
        w_.End();
      }
      Attributes(a->GetAttributes());
      if (!actExts.empty()) Extensions(actExts, a);
      work.emplace_back(a.get(), 0);
    };
    open(root, true);
    while (!work.empty()) {
      auto& [a, i] = work.back();
      if (i == a->Children().size()) {
        w_.End();
        work.pop_back();
        continue;
      }
      open(a->Children()[i++], false);
    }
  }

private:
  // Depth first, parent before children, as WriteProcess lists them.
  void ListTree(const HostActivity& root) {
    std::vector<std::pair<const HostActivity*, std::size_t>> work{{&root, 0}};
    order_.push_back(&root);
    while (!work.empty()) {
      auto& [a, i] = work.back();
      if (i == a->Children().size()) {
        work.pop_back();
        continue;
      }
      const HostActivity* c = a->Children()[i++].get();
      order_.push_back(c);
      work.emplace_back(c, 0);
    }
  }

  void WriteLinks() {
    bool any = false;
    auto start = [&] {
      if (!any) w_.Start("links");
      any = true;
    };
    for (const HostActivity* a : order_)
      for (auto& n : a->Next())
        if (auto to = n.lock()) {
          start();
          w_.Start("flow");
          w_.Attr("from", std::string_view(a->IdString()));
          w_.Attr("to", IdOf(to, "a flow link"));
          w_.End();
        }
    for (const HostActivity* a : order_)
      for (auto& b : a->Before())
        if (auto before = b.lock()) {
          start();
          w_.Start("precedence");
          w_.Attr("from", IdOf(before, "a precedence"));
          w_.Attr("to", std::string_view(a->IdString()));
          w_.End();
        }
    if (any) w_.End();
  }

  const HostDocument& doc_;
  PlantWriter& w_;
  std::vector<const HostActivity*> order_;
};

std::string Serialize(const HostDocument& doc, const std::string& defaultName, std::string* problem) {
  std::string body;
  body.reserve(4096 + doc.ObjectCount() * 96);
  PlantWriter w(body, 1);
  Serializer s(doc, w);
  s.Body();
  for (auto& sec : Sections()) {
    if (!sec.saver) continue;
    std::size_t mark = body.size();
    sec.saver(doc, w);
    if (w.Depth() != 1) {
      w.Problem("the <" + sec.name + "> section left elements open");
      while (w.Depth() > 1) w.End();
    }
    // A section with nothing in it is not written: core files stay as they are.
    std::string_view chunk(body.data() + mark, body.size() - mark);
    if (chunk.size() > 5 && chunk.starts_with("  <") && chunk.ends_with("/>\n") &&
        chunk.find('\n') == chunk.size() - 1 && chunk.find(' ', 3) == std::string_view::npos)
      body.resize(mark);
  }
  std::string head;
  PlantWriter hw(head);
  hw.Start("plant");
  hw.Attr("format", "1");
  hw.Attr("environment", doc.IsHub() ? "hub" : "local");
  if (doc.GetDisplayName().utf8() != defaultName) hw.Attr("name", doc.GetDisplayName());
  bool xml11 = w.NeedsXml11() || hw.NeedsXml11();
  std::string out = xml11 ? "<?xml version=\"1.1\" encoding=\"UTF-8\"?>\n" : "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out.reserve(out.size() + head.size() + body.size() + 16);
  if (body.empty()) {
    out += head + "/>\n";
  } else {
    out += head + ">\n";
    out += body;
    out += "</plant>\n";
  }
  if (problem) *problem = !w.FirstProblem().empty() ? w.FirstProblem() : hw.FirstProblem();
  return out;
}

}  // namespace

void WritePlantActivityTree(const HostDocument& doc, const Ref<HostActivity>& root, std::string_view rootElement,
                            PlantWriter& w) {
  if (!root) return;
  Serializer(doc, w).WriteProcess(root, rootElement);
}

std::string SerializePlant(const HostDocument& doc) {
  return Serialize(doc, doc.FilePath().empty() ? std::string() : Stem(doc.FilePath()), nullptr);
}

std::string SerializePlant(const HostDocument& doc, const std::string& path, std::string* problem) {
  return Serialize(doc, Stem(path), problem);
}

bool SavePlant(const HostDocument& doc, const std::string& path, std::string& error) {
  std::string problem;
  std::string bytes = Serialize(doc, Stem(path), &problem);
  if (!problem.empty()) {
    error = path + ": not saved: " + problem;
    return false;
  }
  std::string why;
  if (!WriteFileAtomically(path, bytes, &why)) {
    error = why;
    return false;
  }
  error.clear();
  return true;
}

}  // namespace host
