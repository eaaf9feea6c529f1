// Plant documents out: a hand writer, byte-stable, saved atomically.
#include <charconv>
#include <cmath>
#include <set>

#include "FileWriter.h"
#include "Progress.h"
#include "HostFlow.h"
#include "PlantDocument.h"
#include "PlantFormat.h"

namespace host {

using namespace plant;

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

std::string PlantMatrixText(const std::array<double, 12>& m) {
  std::string out;
  for (std::size_t i = 0; i < m.size(); ++i) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, m[i]);
    if (i) out += ' ';
    out.append(buf, static_cast<std::size_t>(r.ptr - buf));
  }
  return out;
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
  if (sink_ && out_.size() >= chunk_) MaybeFlush();
}

void PlantWriter::MaybeFlush() {
  if (holding_) return;
  if (!sinkFailed_ && !sink_(out_)) sinkFailed_ = true;
  out_.clear();
}

// The serializer's way to take back a section that wrote nothing but an empty element.
struct PlantWriterAccess {
  struct Mark {
    std::size_t size;
    bool open;
  };
  static Mark Hold(PlantWriter& w) {
    w.holding_ = true;
    return {w.out_.size(), w.open_};
  }
  static std::string_view Since(const PlantWriter& w, const Mark& m) { return std::string_view(w.out_).substr(m.size); }
  static void Rollback(PlantWriter& w, const Mark& m) {
    w.out_.resize(m.size);
    w.open_ = m.open;
  }
  static void Release(PlantWriter& w) {
    w.holding_ = false;
    if (w.sink_ && w.out_.size() >= w.chunk_) w.MaybeFlush();
  }
  static void Flush(PlantWriter& w) {
    if (w.sink_) w.MaybeFlush();
  }
};

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
  // A host object is its own extended object: its id without a query.
  const std::string& IdOf(const Ref<TavBaseUnknown>& o, std::string_view what) {
    const HostObject* h = TavCast<HostObject>(o.get());
    Ref<TavBaseUnknown> x;
    if (!h && o) h = dynamic_cast<const HostObject*>((x = o->ExtendedObject()).get());
    return IdOf(h, what);
  }

  // A model object known as one: no cast, and only its own memory is read.
  const std::string& IdOf(const HostObject* h, std::string_view what) {
    static const std::string kNone;
    if (!h || h->Doc() != &doc_) {
      w_.Problem(std::string(what) + " refers to an object outside the document");
      return kNone;
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
      w_.Attr("name", p->Name());
      if (p->IsResource() && !p->ResourceType().IsEmpty()) w_.Attr("type", p->ResourceType());
      if (!p->PartNumber().IsEmpty()) w_.Attr("partNumber", p->PartNumber());
      Attributes(p->Attributes());
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
      w_.Attr("name", a->Name());
      if (!a->PartNumber().IsEmpty()) w_.Attr("partNumber", a->PartNumber());
      w_.AttrInt("type", a->GetType());
      if (a->ContentByStructure()) w_.Attr("byStructure", "true");
      if (a->IsNotDirectlyChangeable()) w_.Attr("notDirectlyChangeable", "true");
      if (!a->PlanType().IsEmpty()) w_.Attr("planType", a->PlanType());
      Attributes(a->Attributes());
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
      // The relations' targets lie anywhere in memory: asked for now, their ids are
      // there by the time the activity's own attributes are written.
      for (auto& r : a->Relations()) __builtin_prefetch(r->TargetObject());
      Linked(a.get());
      w_.Start(isRoot ? rootElement : "activity");
      Id(*a);
      w_.Attr("name", a->Label());
      w_.Attr("type", a->Type()->name);
      if (a->GetTime() != 0) w_.AttrDouble("time", a->GetTime());
      if (!a->Description().IsEmpty()) w_.Attr("description", a->Description());
      for (auto& r : a->Relations()) {
        w_.Start("relation");
        w_.Attr("type", r->Type()->name);
        w_.Attr("ref", r->TargetObject() ? IdOf(r->TargetObject(), "a relation") : IdOf(r->Target(), "a relation"));
        Attributes(r->Attributes());
        if (!relExts.empty()) Extensions(relExts, r);
        w_.End();
      }
      Attributes(a->Attributes());
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
    Linked(&root);
    while (!work.empty()) {
      auto& [a, i] = work.back();
      if (i == a->Children().size()) {
        work.pop_back();
        continue;
      }
      const HostActivity* c = a->Children()[i++].get();
      Linked(c);
      work.emplace_back(c, 0);
    }
  }

  // The links are written after every tree, in tree order: only activities with links
  // are remembered, so that the second pass does not visit the whole plant again.
  void Linked(const HostActivity* a) {
    if (!a->Next().empty() || !a->Before().empty() || !a->ConstraintList().empty() || !a->PrevCycleList().empty() ||
        !a->SyncList(TavConstraintType::StartStart).empty() || !a->SyncList(TavConstraintType::EndEnd).empty())
      order_.push_back(a);
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
          if (const std::string* id = doc_.Flows().IdOf(a, to.get())) w_.Attr("id", std::string_view(*id));
          w_.Attr("from", std::string_view(a->IdString()));
          w_.Attr("to", IdOf(to.get(), "a flow link"));
          w_.End();
        }
    for (const HostActivity* a : order_)
      for (auto& b : a->Before())
        if (auto before = b.lock()) {
          start();
          w_.Start("precedence");
          w_.Attr("from", IdOf(before.get(), "a precedence"));
          w_.Attr("to", std::string_view(a->IdString()));
          w_.End();
        }
    for (const char* kind : {"constraint", "prevCycle"}) {
      const bool prev = kind[0] == 'p';
      for (const HostActivity* a : order_)
        for (auto& c : prev ? a->PrevCycleList() : a->ConstraintList())
          if (auto to = c.lock()) {
            start();
            w_.Start(kind);
            w_.Attr("from", std::string_view(a->IdString()));
            w_.Attr("to", IdOf(to.get(), prev ? "a constraint to the previous cycle" : "a process constraint"));
            w_.End();
          }
    }
    // Synchronisations: one element per pair (both sides are made on load), written
    // at the activity that comes first; a pair held on one side only is written too.
    for (int type : {TavConstraintType::StartStart, TavConstraintType::EndEnd}) {
      std::set<std::pair<const void*, const void*>> written;
      for (const HostActivity* a : order_)
        for (auto& c : a->SyncList(type))
          if (auto to = c.lock()) {
            if (written.count({to.get(), a})) continue;
            written.insert({a, to.get()});
            start();
            w_.Start("constraint");
            w_.Attr("from", std::string_view(a->IdString()));
            w_.Attr("to", IdOf(to.get(), "a synchronisation"));
            w_.Attr("type", type == TavConstraintType::StartStart ? "startStart" : "endEnd");
            w_.End();
          }
    }
    if (any) w_.End();
  }

  const HostDocument& doc_;
  PlantWriter& w_;
  std::vector<const HostActivity*> order_;
};

// The whole document through one writer: the <plant> element, the core, then the
// sections. With a sink set on `w`, it leaves in pieces as it is made.
void Write(const HostDocument& doc, const std::string& defaultName, bool xml11, PlantWriter& w, std::string& out) {
  out += xml11 ? "<?xml version=\"1.1\" encoding=\"UTF-8\"?>\n" : "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  w.Start("plant");
  w.Attr("format", "1");
  w.Attr("environment", doc.IsHub() ? "hub" : "local");
  if (doc.GetDisplayName().utf8() != defaultName) w.Attr("name", doc.GetDisplayName());
  auto section = [&](const SectionEntry& sec) {
    if (!sec.saver) return;
    // Held until the section is known not to be empty.
    auto mark = PlantWriterAccess::Hold(w);
    sec.saver(doc, w);
    if (w.Depth() != 1) {
      w.Problem("the <" + sec.name + "> section left elements open");
      while (w.Depth() > 1) w.End();
    }
    // A section with nothing in it is not written: core files stay as they are.
    std::string_view chunk = PlantWriterAccess::Since(w, mark);
    if (!mark.open && chunk.size() > 5 && chunk.starts_with("  <") && chunk.ends_with("/>\n") &&
        chunk.find('\n') == chunk.size() - 1 && chunk.find(' ', 3) == std::string_view::npos)
      PlantWriterAccess::Rollback(w, mark);
    else if (mark.open && chunk.size() > 7 && chunk.starts_with(">\n  <") && chunk.ends_with("/>\n") &&
             chunk.find('\n', 2) == chunk.size() - 1 && chunk.find(' ', 5) == std::string_view::npos)
      PlantWriterAccess::Rollback(w, mark);  // the plant's start tag stays open
    PlantWriterAccess::Release(w);
  };
  // Early sections first: the loader needs them before the core elements.
  for (auto& sec : Sections())
    if (sec.phase == PlantSectionPhase::Early) section(sec);
  Serializer s(doc, w);
  s.Body();
  for (auto& sec : Sections())
    if (sec.phase != PlantSectionPhase::Early) section(sec);
  w.End();
  PlantWriterAccess::Flush(w);
}

std::string Serialize(const HostDocument& doc, const std::string& defaultName, std::string* problem) {
  std::string out;
  out.reserve(4096 + doc.ObjectCount() * 96);
  bool xml11 = false;
  for (;;) {
    PlantWriter w(out);
    Write(doc, defaultName, xml11, w, out);
    if (problem) *problem = w.FirstProblem();
    if (w.NeedsXml11() == xml11) return out;
    // Characters only XML 1.1 can carry: the declaration says so, which is known at the end.
    out.clear();
    xml11 = true;
  }
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

// Streams to the file writer: the text is never whole in memory. A value the format
// cannot hold is found on the way; the writer then drops its temporary file and the
// target stays as it was.
bool SavePlant(const HostDocument& doc, const std::string& path, std::string& error) {
  const std::string name = Stem(path);
  bool xml11 = false;
  for (;;) {
    support::FileWriter file;
    if (!file.Open(path)) {
      error = file.Error();
      return false;
    }
    std::string buffer;
    buffer.reserve((1 << 20) + 4096);
    PlantWriter w(buffer);
    support::Progress progress("saving " + path, 0, "bytes");
    std::size_t written = 0;
    w.StreamTo([&](std::string_view bytes) {
      progress.Set(written += bytes.size());
      return file.Write(bytes);
    });
    Write(doc, name, xml11, w, buffer);
    if (!w.FirstProblem().empty()) {
      file.Abort();
      error = path + ": not saved: " + w.FirstProblem();
      return false;
    }
    if (w.NeedsXml11() != xml11) {  // the declaration was written too early: once more as XML 1.1
      file.Abort();
      xml11 = true;
      continue;
    }
    if (w.SinkFailed() || !file.Commit()) {
      error = file.Error();
      return false;
    }
    error.clear();
    return true;
  }
}

}  // namespace host
