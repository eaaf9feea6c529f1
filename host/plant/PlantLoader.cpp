// Plant documents in: the XML stream built straight into the model, all or nothing.
//
// Core elements become objects as their start tags arrive. What must wait for ids
// made later (relations, assembly parts, links) is kept as a small record, with any
// problem found in its own tag kept to be reported in its turn; sections and element
// extensions are kept as PlantElement trees for their loaders. Then, as the format
// promises: sections, then relations, parts and links, then extensions.
#include <deque>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

#include "HostFlow.h"
#include "PlantDocument.h"
#include "PlantFormat.h"
#include "PlantReferences.h"

namespace host {

// Builds PlantElement trees (a friend of PlantElement).
struct PlantElementBuilder {
  std::deque<PlantElement> store;  // stable addresses

  PlantElement* Make(const plant::XmlStart& e, PlantElement* parent) {
    PlantElement& n = store.emplace_back();
    n.name_ = e.name;
    n.attributes_.reserve(e.count);
    for (std::size_t i = 0; i < e.count; ++i) n.attributes_.push_back({std::string(e.attrs[i].name), std::string(e.attrs[i].value)});
    n.line_ = e.line;
    n.column_ = e.column;
    n.parent_ = parent;
    if (parent) parent->children_.push_back(&n);
    return &n;
  }
  PlantElement* MakeBare(std::string_view name, std::uint32_t line, std::uint32_t column) {
    PlantElement& n = store.emplace_back();
    n.name_ = name;
    n.line_ = line;
    n.column_ = column;
    return &n;
  }
  static void MarkText(PlantElement& n) {
    if (n.textAt_ == PlantElement::kNoText) n.textAt_ = n.children_.size();
  }
};

using namespace plant;

namespace {

// The element's attributes as the stream shows them.
struct ElementViews {
  std::vector<XmlAttr> attrs;
  XmlStart Of(const PlantElement& e) {
    attrs.clear();
    for (auto& a : e.Attributes()) attrs.push_back({a.name, a.value});
    return {e.Name(), attrs.data(), attrs.size(), e.Line(), e.Column()};
  }
};

// A problem found while reading, reported when the work reaches its record.
struct Problem {
  std::uint32_t line = 0, column = 0;
  std::string message;
  explicit operator bool() const { return line != 0; }
};

struct RelationRecord {
  HostActivity* activity;
  const RelationTypeInfo* type;
  std::string ref;
  std::uint32_t line, column;
  std::uint32_t problem;      // index + 1 into problems_, or 0
  PlantElement* children;     // its child elements and text, when it has any
};

class Loader final : public XmlSink, public LoadProblems {
public:
  explicit Loader(const std::string& fileName) : fileName_(fileName) {
    scratch_ = HostDocument::Create(false);
    ctx_.emplace(*scratch_, fileName_);
  }
  Loader(const Loader&) = delete;
  Loader& operator=(const Loader&) = delete;

  // The input's size, told by the reader before the first event.
  std::size_t* SizeHint() { return &sizeHint_; }
  PlantLoadContext& Ctx() { return *ctx_; }

  // ------------------------------------------------------------ the stream
  bool Start(const XmlStart& e) override {
    Frame& f = frames_.back();
    switch (f.kind) {
      case Kind::Top: return StartPlant(e);
      case Kind::Plant: return StartSection(e);
      case Kind::Products:
        if (e.name == (f.resource ? "resource" : "product")) return StartProduct(e, nullptr, f.resource);
        return Unknown(e, f.name);
      case Kind::Product: {
        const char* tag = f.resource ? "resource" : "product";
        if (e.name == "attribute") return LoadAttribute(e, *f.product) && Push(Kind::Skip);
        if (e.name == tag) return StartProduct(e, f.product, f.resource);
        if (auto* x = FindExtension(tag, e.name)) return Capture(e, x, f.product);
        return Unknown(e, f.name);
      }
      case Kind::Assemblies:
        if (e.name == "assembly") return StartAssembly(e);
        return Unknown(e, f.name);
      case Kind::Assembly:
        if (e.name == "attribute") return LoadAttribute(e, *f.assembly) && Push(Kind::Skip);
        if (e.name == "part") return StartPart(e, f.assembly.get());
        if (auto* x = FindExtension("assembly", e.name)) return Capture(e, x, f.assembly);
        return Unknown(e, f.name);
      case Kind::Activity:
        if (e.name == "attribute") return LoadAttribute(e, *f.activity) && Push(Kind::Skip);
        if (e.name == "activity") return StartActivity(e, f.activity, nullptr);
        if (e.name == "relation") return StartRelation(e, f.activity.get());
        if (auto* x = FindExtension("activity", e.name)) return Capture(e, x, f.activity);
        return Unknown(e, f.name);
      case Kind::Relation: {
        PlantElement* holder = RelationChildren(f);
        Open(Kind::Capture);
        frames_.back().node = trees_.Make(e, holder);
        return true;
      }
      case Kind::Part:
        NoteChildProblem(parts_[f.record].childProblem, e.line, e.column, "unknown element <" + std::string(e.name) + "> in <part>");
        return Push(Kind::Skip);
      case Kind::Links:
        if (e.name == "flow" || e.name == "precedence" || e.name == "constraint" || e.name == "prevCycle") return StartLink(e);
        links_.push_back({LinkRecord::ProblemOnly, {}, {}, {}, e.line, e.column,
                          Keep(e.line, e.column, "unknown element <" + std::string(e.name) + "> in <links>"), 0});
        return Push(Kind::Skip);
      case Kind::Link:
        NoteChildProblem(links_[f.record].childProblem, e.line, e.column,
                         "unknown element <" + std::string(e.name) + "> in <" + std::string(f.name) + ">");
        return Push(Kind::Skip);
      case Kind::Skip: return Push(Kind::Skip);
      case Kind::Capture: {
        PlantElement* n = trees_.Make(e, f.node);
        Open(Kind::Capture);
        frames_.back().node = n;
        return true;
      }
      case Kind::TreeRoot: return StartActivity(e, nullptr, f.makeRoot);
    }
    return false;
  }

  bool Text() override {
    Frame& f = frames_.back();
    switch (f.kind) {
      case Kind::Plant:
      case Kind::Products:
      case Kind::Product:
      case Kind::Assemblies:
      case Kind::Assembly:
      case Kind::Activity: return Fail(f.line, f.column, "unexpected text in <" + std::string(f.name) + ">");
      case Kind::Relation: PlantElementBuilder::MarkText(*RelationChildren(f)); return true;
      case Kind::Part: NoteChildProblem(parts_[f.record].childProblem, f.line, f.column, "unexpected text in <part>"); return true;
      case Kind::Link:
        NoteChildProblem(links_[f.record].childProblem, f.line, f.column, "unexpected text in <" + std::string(f.name) + ">");
        return true;
      case Kind::Links:
        links_.push_back({LinkRecord::ProblemOnly, {}, {}, {}, f.line, f.column, Keep(f.line, f.column, "unexpected text in <links>"), 0});
        return true;
      case Kind::Capture: PlantElementBuilder::MarkText(*f.node); return true;
      case Kind::Top:
      case Kind::Skip:
      case Kind::TreeRoot: return true;
    }
    return true;
  }

  bool End() override {
    if (frames_.size() <= 1) return true;
    const SectionEntry* early = frames_.back().early;
    const PlantElement* node = frames_.back().node;
    frames_.pop_back();
    return !early || LoadSection(node, early);
  }

  // ------------------------------------------------------------ after the stream
  // Sections, then relations, parts and links, then extensions.
  Ref<HostDocument> Finish() {
    PlantLoadContext& ctx = *ctx_;
    if (!doc_) {
      ctx.ErrorAt(1, 1, "no <plant> element");
      return nullptr;
    }
    PlantLoadAccess::SetTreeLoader(ctx, [this](const PlantElement& e, const PlantLoadContext::ActivityRootMaker& makeRoot) {
      return LoadTree(e, makeRoot);
    });
    bool ok = true;
    for (auto& [el, sec] : sections_)
      if (sec->phase != PlantSectionPhase::Late && !(ok = LoadSection(el, sec))) break;
    ok = ok && LoadRelations() && plant::LoadParts(*doc_, parts_, assemblyAt_, *this) && plant::LoadLinks(*doc_, links_, *this);
    for (std::size_t i = 0; ok && i < exts_.size(); ++i) {
      auto& x = exts_[i];
      if (!x.entry->loader || !x.entry->loader(*x.el, x.owner, ctx) || ctx.Failed()) {
        if (!ctx.Failed()) ctx.Error(x.el, "<" + x.entry->child + "> could not be loaded");
        ok = false;
      }
      // An extension may load activities of its own (a behaviour's): their relations now.
      ok = ok && LoadRelations();
    }
    for (auto& [el, sec] : sections_)
      if (ok && sec->phase == PlantSectionPhase::Late) ok = LoadSection(el, sec);
    ok = ok && CheckAssemblies();
    PlantLoadAccess::SetTreeLoader(ctx, nullptr);
    if (!ok || ctx.Failed()) {
      Dismantle();
      return nullptr;
    }
    return doc_;
  }

  bool LoadSection(const PlantElement* el, const SectionEntry* sec) {
    PlantLoadContext& ctx = *ctx_;
    if (!sec->loader || !sec->loader(*el, ctx) || ctx.Failed()) {
      if (!ctx.Failed()) ctx.Error(el, "<" + sec->name + "> could not be loaded");
      return false;
    }
    return true;
  }

  // What features require of an assembly, once all they know is loaded.
  bool CheckAssemblies() {
    const auto& checks = AssemblyChecks();
    if (checks.empty()) return true;
    for (auto& a : doc_->Assemblies().assemblies_)
      for (auto& [name, check] : checks) {
        std::string problem = check ? check(*a, *doc_) : std::string();
        if (problem.empty()) continue;
        auto at = assemblyAt_.find(a.get());
        return at != assemblyAt_.end() ? Fail(at->second.first, at->second.second, problem) : Fail(1, 1, problem);
      }
    return true;
  }

  // Parts may refer to each other: a failed document lets them go first.
  void Dismantle() {
    if (!doc_) return;
    for (auto& a : doc_->Assemblies().assemblies_) {
      auto parts = a->Parts();
      for (auto& p : parts) a->RemovePart(p);
    }
  }

private:
  enum class Kind : std::uint8_t {
    Top, Plant, Products, Product, Assemblies, Assembly, Activity, Relation, Part, Links, Link, Skip, Capture, TreeRoot
  };
  struct Frame {
    Kind kind = Kind::Top;
    bool resource = false;
    std::string_view name;  // for messages: a literal, or a name in a kept tree
    std::uint32_t line = 0, column = 0;
    Ref<HostProduct> product;
    Ref<HostAssembly> assembly;
    Ref<HostActivity> activity;
    std::size_t record = 0;  // relation, part or link record
    PlantElement* node = nullptr;
    const PlantLoadContext::ActivityRootMaker* makeRoot = nullptr;
    const SectionEntry* early = nullptr;  // an early section, loaded at its end tag
  };
  struct PendingExtension {
    const PlantElement* el;
    const ExtensionEntry* entry;
    Ref<TavBaseUnknown> owner;
  };

  Frame& Open(Kind k, bool resource = false, std::string_view name = {}, std::uint32_t line = 0, std::uint32_t column = 0) {
    Frame& f = frames_.emplace_back();
    f.kind = k;
    f.resource = resource;
    f.name = name;
    f.line = line;
    f.column = column;
    return f;
  }
  bool Push(Kind k) {
    Open(k);
    return true;
  }
  bool Fail(std::uint32_t line, std::uint32_t column, const std::string& message) override {
    ctx_->ErrorAt(line, column, message);
    return false;
  }
  bool Unknown(const XmlStart& e, std::string_view parent) {
    return Fail(e.line, e.column, "unknown element <" + std::string(e.name) + "> in <" + std::string(parent) + ">");
  }
  bool Attributes(const XmlStart& e, std::initializer_list<AttrSpec> specs) {
    std::string problem = AttributeProblem(e, specs);
    return problem.empty() || Fail(e.line, e.column, problem);
  }
  std::uint32_t Keep(std::uint32_t line, std::uint32_t column, std::string message) {
    problems_.push_back({line, column, std::move(message)});
    return static_cast<std::uint32_t>(problems_.size());
  }
  void NoteChildProblem(std::uint32_t& slot, std::uint32_t line, std::uint32_t column, std::string message) {
    if (!slot) slot = Keep(line, column, std::move(message));
  }
  bool Report(std::uint32_t problem) override {
    if (!problem) return true;
    const Problem& p = problems_[problem - 1];
    return Fail(p.line, p.column, p.message);
  }
  bool CheckId(const XmlStart& e, std::string_view id) {
    return ValidId(id) || Fail(e.line, e.column, "bad id " + Quote(id) + " (letters, digits, '_', '.', '-')");
  }
  // Creation claims the id in one insertion; a taken id throws.
  template <class F>
  auto Create(const XmlStart& e, F&& make) -> decltype(make()) {
    try {
      return make();
    } catch (const std::invalid_argument& x) {
      Fail(e.line, e.column, x.what());
      return nullptr;
    }
  }

  bool StartPlant(const XmlStart& e) {
    if (e.name != "plant") return Fail(e.line, e.column, "unknown element <" + std::string(e.name) + ">");
    std::optional<std::string_view> format, environment, name;
    if (!Attributes(e, {{"format", &format, true}, {"environment", &environment, false}, {"name", &name, false}})) return false;
    if (*format != "1")
      return Fail(e.line, e.column, "unsupported plant format " + Quote(*format) + " (this program reads format 1)");
    if (environment && *environment != "local" && *environment != "hub")
      return Fail(e.line, e.column, "unknown environment " + Quote(*environment) + " (local or hub)");
    // The document is made once the root says which environment it lives in.
    doc_ = HostDocument::Create(environment && *environment == "hub");
    doc_->SetDisplayName(name ? TavUnicodeString(*name) : TavUnicodeString(Stem(fileName_)));
    // About 150 bytes of file per object: the id map never grows during the load.
    doc_->ReserveIds(sizeHint_ / 128 + 16);
    ctx_.emplace(*doc_, fileName_);
    Open(Kind::Plant, false, "plant", e.line, e.column);
    return true;
  }

  bool StartSection(const XmlStart& e) {
    if (e.name == "products" || e.name == "resources") {
      bool resource = e.name == "resources";
      Open(Kind::Products, resource, resource ? "resources" : "products", e.line, e.column);
      return true;
    }
    if (e.name == "assemblies") {
      Open(Kind::Assemblies, false, "assemblies", e.line, e.column);
      return true;
    }
    if (e.name == "process") return StartActivity(e, nullptr, nullptr);
    if (e.name == "links") {
      std::string problem = AttributeProblem(e, {});
      if (!problem.empty()) links_.push_back({LinkRecord::ProblemOnly, {}, {}, {}, e.line, e.column, Keep(e.line, e.column, problem), 0});
      Open(Kind::Links, false, "links", e.line, e.column);
      return true;
    }
    if (auto* sec = FindSection(e.name)) {
      PlantElement* n = trees_.Make(e, nullptr);
      if (sec->phase != PlantSectionPhase::Early) sections_.emplace_back(n, sec);
      Open(Kind::Capture);
      frames_.back().node = n;
      if (sec->phase == PlantSectionPhase::Early) frames_.back().early = sec;
      return true;
    }
    return Unknown(e, "plant");
  }

  bool Capture(const XmlStart& e, const ExtensionEntry* x, Ref<TavBaseUnknown> owner) {
    PlantElement* n = trees_.Make(e, nullptr);
    exts_.push_back({n, x, std::move(owner)});
    Open(Kind::Capture);
    frames_.back().node = n;
    return true;
  }

  // Product and resource trees.
  bool StartProduct(const XmlStart& e, const Ref<HostProduct>& father, bool resource) {
    std::optional<std::string_view> id, name, pn, type;
    bool ok = resource ? Attributes(e, {{"id", &id, true}, {"name", &name, true}, {"type", &type, false}, {"partNumber", &pn, false}})
                       : Attributes(e, {{"id", &id, true}, {"name", &name, true}, {"partNumber", &pn, false}});
    if (!ok || !CheckId(e, *id)) return false;
    Ref<HostProduct> p = Create(e, [&] {
      return doc_->CreateProduct(father, std::string(*id), TavUnicodeString(*name), pn ? TavUnicodeString(*pn) : TavUnicodeString(),
                                 resource);
    });
    if (!p) return false;
    if (resource && type) p->SetResourceType(TavUnicodeString(*type));
    const char* tag = resource ? "resource" : "product";
    Open(Kind::Product, resource, tag, e.line, e.column).product = std::move(p);
    return true;
  }

  bool StartAssembly(const XmlStart& e) {
    std::optional<std::string_view> id, name, pn, type, byStructure, notDirect, planType;
    if (!Attributes(e, {{"id", &id, true}, {"name", &name, true}, {"partNumber", &pn, false}, {"type", &type, false},
                        {"byStructure", &byStructure, false}, {"notDirectlyChangeable", &notDirect, false},
                        {"planType", &planType, false}}) ||
        !CheckId(e, *id))
      return false;
    std::int64_t t = 1;
    if (type && !ParseStrictInt(*type, t)) return Fail(e.line, e.column, "bad integer " + Quote(*type) + " in 'type'");
    if (t < 0 || t > 4)
      return Fail(e.line, e.column, "unknown assembly type " + Quote(*type) + " (0 none, 1 assembly, 2 kit, 3 output, 4 AST)");
    bool bs = false, nd = false;
    if (byStructure && !ParseStrictBool(*byStructure, bs))
      return Fail(e.line, e.column, "bad boolean " + Quote(*byStructure) + " in 'byStructure' (true or false)");
    if (notDirect && !ParseStrictBool(*notDirect, nd))
      return Fail(e.line, e.column, "bad boolean " + Quote(*notDirect) + " in 'notDirectlyChangeable' (true or false)");
    // Written only when set: an empty one would not read back as written.
    if (planType && planType->empty()) return Fail(e.line, e.column, "empty 'planType' (leave it out for none)");
    Ref<HostAssembly> a = Create(e, [&] { return doc_->CreateAssembly(std::string(*id), TavUnicodeString(*name), static_cast<int>(t)); });
    if (!a) return false;
    if (pn) a->SetPartNumber(TavUnicodeString(*pn));
    a->SetContentByStructure(bs);
    a->SetNotDirectlyChangeable(nd);
    if (planType) a->SetPlanType(TavUnicodeString(*planType));
    assemblyAt_.emplace(a.get(), std::pair{e.line, e.column});
    Open(Kind::Assembly, false, "assembly", e.line, e.column).assembly = std::move(a);
    return true;
  }

  // A <process> (makeRoot null: a root process), an <activity>, or the root of a
  // section's activity tree.
  bool StartActivity(const XmlStart& e, const Ref<HostActivity>& father, const PlantLoadContext::ActivityRootMaker* makeRoot) {
    std::optional<std::string_view> id, name, type, time, description;
    if (!Attributes(e, {{"id", &id, true}, {"name", &name, true}, {"type", &type, false}, {"time", &time, false},
                        {"description", &description, false}}) ||
        !CheckId(e, *id))
      return false;
    const std::string typeName(type ? *type : "Activity");
    if (!FindType(typeName)) return Fail(e.line, e.column, "unknown activity type " + Quote(typeName));
    double t = 0;
    if (time && !ParseStrictDouble(*time, t)) return Fail(e.line, e.column, "bad number " + Quote(*time) + " in 'time'");
    Ref<HostActivity> a = Create(e, [&]() -> Ref<HostActivity> {
      if (father) return doc_->CreateActivity(father, typeName, std::string(*id), TavUnicodeString(*name));
      if (makeRoot) return (*makeRoot)(std::string(*id), TavUnicodeString(*name), typeName);
      return doc_->CreateRootProcess(std::string(*id), TavUnicodeString(*name), typeName);
    });
    if (!a) return ctx_->Failed() ? false : Fail(e.line, e.column, "<" + std::string(e.name) + "> could not be made");
    if (!father) treeRoot_ = a;
    if (t != 0) a->SetTime(t);
    if (description) a->SetDescription(TavUnicodeString(*description));
    std::string_view label = father ? std::string_view("activity") : e.name == "process" ? std::string_view("process") : rootName_;
    Open(Kind::Activity, false, label, e.line, e.column).activity = std::move(a);
    return true;
  }

  bool StartRelation(const XmlStart& e, HostActivity* a) {
    std::optional<std::string_view> type, ref;
    std::string problem = AttributeProblem(e, {{"type", &type, true}, {"ref", &ref, true}});
    const RelationTypeInfo* info = problem.empty() ? FindRelationType(*type) : nullptr;
    if (problem.empty() && !info) problem = "unknown relation type " + Quote(*type);
    relations_.push_back({a, info, problem.empty() ? std::string(*ref) : std::string(), e.line, e.column,
                          problem.empty() ? 0 : Keep(e.line, e.column, problem), nullptr});
    Open(Kind::Relation, false, "relation", e.line, e.column);
    frames_.back().record = relations_.size() - 1;
    return true;
  }
  PlantElement* RelationChildren(Frame& f) {
    RelationRecord& r = relations_[f.record];
    if (!r.children) r.children = trees_.MakeBare("relation", f.line, f.column);
    return r.children;
  }

  bool StartPart(const XmlStart& e, HostAssembly* a) {
    std::optional<std::string_view> ref;
    std::string problem = AttributeProblem(e, {{"ref", &ref, true}});
    parts_.push_back({a, problem.empty() ? std::string(*ref) : std::string(), e.line, e.column,
                      problem.empty() ? 0 : Keep(e.line, e.column, problem), 0});
    Open(Kind::Part, false, "part", e.line, e.column);
    frames_.back().record = parts_.size() - 1;
    return true;
  }

  bool StartLink(const XmlStart& e) {
    std::optional<std::string_view> from, to, id, type;
    const bool flow = e.name == "flow";
    std::string problem = flow ? AttributeProblem(e, {{"from", &from, true}, {"to", &to, true}, {"id", &id, false}})
                          : e.name == "constraint"
                              ? AttributeProblem(e, {{"from", &from, true}, {"to", &to, true}, {"type", &type, false}})
                              : AttributeProblem(e, {{"from", &from, true}, {"to", &to, true}});
    if (problem.empty() && id && !ValidId(*id)) problem = "bad id " + Quote(*id) + " (letters, digits, '_', '.', '-')";
    const int constraintType = type ? ConstraintTypeOf(*type) : TavConstraintType::Plain;
    if (problem.empty() && constraintType < 0)
      problem = "unknown constraint type " + Quote(*type) + " (startStart or endEnd)";
    const LinkRecord::Kind kind = flow                          ? LinkRecord::Flow
                                  : e.name == "precedence"      ? LinkRecord::Precedence
                                  : e.name == "constraint"      ? LinkRecord::Constraint
                                                                : LinkRecord::PrevCycle;
    if (problem.empty())
      links_.push_back({kind, std::string(*from), std::string(*to), id ? std::string(*id) : std::string(), e.line, e.column, 0, 0,
                        constraintType});
    else
      links_.push_back({LinkRecord::ProblemOnly, {}, {}, {}, e.line, e.column, Keep(e.line, e.column, problem), 0});
    Open(Kind::Link, false, kLinkNames[kind], e.line, e.column);  // a literal: the frame keeps a view of it
    frames_.back().record = links_.size() - 1;
    return true;
  }

  bool LoadAttribute(const XmlStart& e, TavIAttributeHolder& holder) {
    std::optional<std::string_view> name, type, value;
    if (!Attributes(e, {{"name", &name, true}, {"type", &type, true}, {"value", &value, false}})) return false;
    if (name->empty()) return Fail(e.line, e.column, "an attribute needs a name");
    TavValue v;
    if (*type == "none") {
      if (value) return Fail(e.line, e.column, "an attribute of type 'none' has no value");
    } else {
      if (!value) return Fail(e.line, e.column, "<attribute> lacks the required attribute 'value'");
      if (*type == "string") {
        v = TavUnicodeString(*value);
      } else if (*type == "int") {
        std::int64_t i;
        if (!ParseStrictInt(*value, i)) return Fail(e.line, e.column, "bad integer " + Quote(*value) + " in 'value'");
        v = i;
      } else if (*type == "double") {
        double d;
        if (!ParseStrictDouble(*value, d)) return Fail(e.line, e.column, "bad number " + Quote(*value) + " in 'value'");
        v = d;
      } else if (*type == "bool") {
        bool b;
        if (!ParseStrictBool(*value, b)) return Fail(e.line, e.column, "bad boolean " + Quote(*value) + " in 'value' (true or false)");
        v = b;
      } else {
        return Fail(e.line, e.column, "unknown attribute type " + Quote(*type) + " (string, int, double, bool, none)");
      }
    }
    // Names already on the holder, kept here: an object with many attributes is not searched per attribute.
    if (!attributeNames_.insert({&holder, std::string(*name)}).second)
      return Fail(e.line, e.column, "duplicate attribute " + Quote(*name));
    TavUnicodeString key(*name);
    if (auto* o = dynamic_cast<HostObject*>(&holder)) o->AppendNewAttribute(std::move(key), std::move(v));
    else if (auto* r = dynamic_cast<HostRelation*>(&holder)) r->AppendNewAttribute(std::move(key), std::move(v));
    else holder.SetAttribute(key, std::move(v));
    return true;
  }

  // ------------------------------------------------------------ kept trees
  // Replays a kept tree into the stream, as the parser would have given it.
  bool Replay(const PlantElement& root) {
    ElementViews views;
    std::vector<std::pair<const PlantElement*, std::size_t>> work;
    auto open = [&](const PlantElement& e) {
      if (!Start(views.Of(e))) return false;
      work.emplace_back(&e, 0);
      return true;
    };
    if (!open(root)) return false;
    while (!work.empty()) {
      auto& [e, i] = work.back();
      if (i == e->TextAt() && !Text()) return false;
      if (i == e->Children().size()) {
        End();
        work.pop_back();
        continue;
      }
      const PlantElement* c = e->Children()[i++];
      if (!open(*c)) return false;
    }
    return true;
  }

  Ref<HostActivity> LoadTree(const PlantElement& e, const PlantLoadContext::ActivityRootMaker& makeRoot) {
    std::size_t depth = frames_.size();
    Open(Kind::TreeRoot);
    frames_.back().makeRoot = &makeRoot;
    rootName_ = e.Name();
    treeRoot_ = nullptr;
    bool ok = Replay(e);
    frames_.resize(depth);
    return ok && !ctx_->Failed() ? treeRoot_ : nullptr;
  }

  // The children of a relation: attributes onto it, extensions queued, nothing else.
  bool WalkRelationChildren(const PlantElement& e, HostRelation& rel) {
    ElementViews views;
    for (std::size_t i = 0; i <= e.Children().size(); ++i) {
      if (i == e.TextAt()) return Fail(e.Line(), e.Column(), "unexpected text in <relation>");
      if (i == e.Children().size()) break;
      const PlantElement* c = e.Children()[i];
      if (c->Name() == "attribute") {
        if (!LoadAttribute(views.Of(*c), rel)) return false;
        continue;
      }
      if (auto* x = FindExtension("relation", c->Name())) {
        exts_.push_back({c, x, std::static_pointer_cast<TavBaseUnknown>(rel.shared_from_this())});
        continue;
      }
      return Fail(c->Line(), c->Column(), "unknown element <" + c->Name() + "> in <relation>");
    }
    return true;
  }

  // ------------------------------------------------------------ relations (parts and links: PlantReferences.h)

  static bool Accepts(const RelationTypeInfo& t, TavBaseUnknown* target) {
    if (auto* p = TavCast<HostProduct>(target)) return p->IsResource() ? t.acceptsResource : t.acceptsProduct;
    return TavCast<HostAssembly>(target) ? t.acceptsAssembly : false;
  }

  bool LoadRelations() {
    for (; relationsDone_ < relations_.size(); ++relationsDone_) {
      auto& r = relations_[relationsDone_];
      if (!Report(r.problem)) return false;
      Ref<TavBaseUnknown> target = ResolveId(*doc_, *this, r.line, r.column, "relation", r.ref);
      if (!target) return false;
      target = target->ExtendedObject();
      if (!Accepts(*r.type, target.get()))
        return Fail(r.line, r.column, "relation " + Quote(r.type->name) + " cannot point at " + KindOf(target) + " " + Quote(r.ref));
      if (r.activity->IsRelated(r.type, target.get())) return Fail(r.line, r.column, "duplicate relation " + Quote(r.type->name) + " to " + Quote(r.ref));
      Ref<HostRelation> rel = r.activity->AppendNewRelation(r.type, std::move(target));
      if (r.children && !WalkRelationChildren(*r.children, *rel)) return false;
    }
    return true;
  }




  std::string fileName_;
  std::size_t sizeHint_ = 0;
  Ref<HostDocument> scratch_, doc_;
  std::optional<PlantLoadContext> ctx_;
  std::vector<Frame> frames_{Frame{}};
  PlantElementBuilder trees_;
  std::vector<std::pair<const PlantElement*, const SectionEntry*>> sections_;
  std::vector<PendingExtension> exts_;
  std::vector<RelationRecord> relations_;
  std::size_t relationsDone_ = 0;  // relations loaded so far
  std::vector<PartRecord> parts_;
  std::vector<LinkRecord> links_;
  std::vector<Problem> problems_;
  AssemblyPlaces assemblyAt_;
  struct NameHash {
    std::size_t operator()(const std::pair<const void*, std::string>& p) const {
      return std::hash<const void*>()(p.first) ^ std::hash<std::string>()(p.second);
    }
  };
  std::unordered_set<std::pair<const void*, std::string>, NameHash> attributeNames_;
  Ref<HostActivity> treeRoot_;
  std::string_view rootName_;
};

Ref<HostDocument> Load(const std::string* bytes, const std::string* path, const std::string& fileName, std::string& error) {
  error.clear();
  try {
    Loader loader(fileName);
    bool parsed = ReadXml(bytes, path, fileName, loader, error, loader.SizeHint());
    if (!parsed) {
      if (error.empty()) error = loader.Ctx().Failed() ? loader.Ctx().ErrorMessage() : fileName + ":1:1: the plant could not be loaded";
      loader.Dismantle();
      return nullptr;
    }
    Ref<HostDocument> doc = loader.Finish();
    if (!doc) error = loader.Ctx().Failed() ? loader.Ctx().ErrorMessage() : fileName + ":1:1: the plant could not be loaded";
    else doc->MarkSaved();  // what was read is what the file holds
    return doc;
  } catch (const std::bad_alloc&) {
    error = fileName + ":1:1: out of memory while loading";
  } catch (const std::exception& e) {
    error = fileName + ":1:1: " + e.what();
  }
  return nullptr;
}

}  // namespace

Ref<HostDocument> ParsePlant(const std::string& bytes, const std::string& fileName, std::string& error) {
  return Load(&bytes, nullptr, fileName, error);
}

Ref<HostDocument> LoadPlant(const std::string& path, std::string& error) {
  Ref<HostDocument> doc = Load(nullptr, &path, path, error);
  if (doc) doc->SetFilePath(path);
  return doc;
}

}  // namespace host
