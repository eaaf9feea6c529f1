// Plant documents in: the Xerces DOM walked into the model, all or nothing.
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

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

#include "PlantDocument.h"
#include "PlantFormat.h"
#include "XercesInit.h"

namespace host {

using namespace xercesc;
using namespace plant;

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

}  // namespace

Ref<HostDocument> ParsePlant(const std::string& bytes, const std::string& fileName, std::string& error) {
  support::EnsureXerces();
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

}  // namespace host
