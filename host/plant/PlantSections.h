#pragma once
// Extension points of the plant document format (docs/plant-format.md).
//
// Sections: a top-level element under <plant> that the core does not know
// (<fasteners>, <behaviors>, <hubAttributes>, ...). Register it once, before the
// first load or save:
//
//   host::RegisterPlantSection("fasteners",
//     [](const host::PlantElement& section, host::PlantLoadContext& ctx) {
//       for (const host::PlantElement* f : ctx.Children(section)) {
//         if (!ctx.Expect(*f, "fastener")) return false;
//         std::optional<std::string> id, ref;
//         if (!ctx.ReadAttributes(*f, {{"id", &id, true}, {"ref", &ref, false}})) return false;
//         if (!ctx.CheckNewId(*f, *id)) return false;
//         ...                                   // build through ctx.doc
//       }
//       return true;
//     },
//     [](const host::HostDocument& doc, host::PlantWriter& w) {
//       w.Start("fasteners");
//       for (...) { w.Start("fastener"); w.Attr("id", ...); w.End(); }
//       w.End();                              // an empty section is dropped
//     });
//
// Load order: (1) the core creates every product, resource, assembly and activity
// with its id; (2) sections load in document order; (3) the core resolves
// relations, assembly parts and links, so these may point at ids a section created;
// (4) element extensions load in document order. Sections are saved after the core
// sections in registration order; a saver that writes an element without
// attributes or children writes nothing, so core files round-trip unchanged.
// A top-level element no section claims is an error. A section may keep activity
// trees of its own (<tsas>): ctx.LoadActivityTree, WritePlantActivityTree and
// RegisterPlantActivityRoots below.
//
// Element extensions: extra child elements of a core element, registered by
// (parent element, child element). Parents: "activity" (also the root "process"),
// "relation", "product", "resource", "assembly". The owner is the HostActivity,
// HostRelation, HostProduct or HostAssembly the parent element made. They are
// saved after the owner's <attribute> children and before its nested core
// children, in registration order:
//
//   host::RegisterElementExtension("resource", "behavior", loader, saver);
//   loader: bool(const PlantElement& child, const Ref<TavBaseUnknown>& owner, PlantLoadContext&)
//   saver:  void(const Ref<TavBaseUnknown>& owner, PlantWriter&)   // writes zero or more children
//
// A loader returns false after reporting the problem with ctx.Error(element, ...);
// the whole load then fails with that one message and no document.
//
// The core elements stream from the parser into the model; only the elements a
// section or an extension claims are kept, as a small PlantElement tree, until
// their loader has run.
//
// Linking: a registration in a static library only runs when its object file is
// linked in; call the registering function from code that is referenced (a
// subsystem's init function), not only from a static initialiser.
#include <array>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "HostModel.h"

namespace host {

// An element of a section or an element extension as read from the file: name,
// attributes and child elements (UTF-8), and where its start tag ends.
class PlantElement {
public:
  struct Attribute {
    std::string name, value;
  };
  const std::string& Name() const { return name_; }
  const std::vector<Attribute>& Attributes() const { return attributes_; }
  const std::vector<const PlantElement*>& Children() const { return children_; }
  const PlantElement* Parent() const { return parent_; }
  std::uint32_t Line() const { return line_; }
  std::uint32_t Column() const { return column_; }
  // Text other than white space directly inside: the number of child elements
  // before its first occurrence, or kNoText.
  static constexpr std::size_t kNoText = static_cast<std::size_t>(-1);
  std::size_t TextAt() const { return textAt_; }

private:
  friend struct PlantElementBuilder;
  std::string name_;
  std::vector<Attribute> attributes_;
  std::vector<const PlantElement*> children_;
  const PlantElement* parent_ = nullptr;
  std::uint32_t line_ = 1, column_ = 1;
  std::size_t textAt_ = kNoText;
};

// What a section or element-extension loader sees while a plant loads.
class PlantLoadContext {
public:
  PlantLoadContext(HostDocument& d, std::string file) : doc(d), fileName_(std::move(file)) {}

  HostDocument& doc;  // the document being built; dropped if the load fails

  // The object with this id (core or created by an earlier section), or null.
  Ref<TavBaseUnknown> Lookup(std::string_view id) const;
  // Reports a problem at an element ("file:line:column: message"); the first one wins.
  void Error(const PlantElement* at, const std::string& message);
  // The same at a position (line and column where a start tag ends).
  void ErrorAt(std::uint32_t line, std::uint32_t column, const std::string& message);
  bool Failed() const { return !error_.empty(); }
  const std::string& ErrorMessage() const { return error_; }
  const std::string& FileName() const { return fileName_; }
  // "file:line:column" of an element.
  std::string Where(const PlantElement* at) const;

  // Helpers that report their own errors and return false (or an empty result).
  static std::string Name(const PlantElement& e) { return e.Name(); }
  // The element children of e; text other than white space is an error.
  const std::vector<const PlantElement*>& Children(const PlantElement& e);
  // The element is named `name`; otherwise "unknown element <x> in <parent>".
  bool Expect(const PlantElement& e, std::string_view name);
  struct AttributeSpec {
    std::string_view name;
    std::optional<std::string>* value;  // set when present (UTF-8)
    bool required;
  };
  // Reads the listed attributes; an attribute not listed or a missing required one is an error.
  bool ReadAttributes(const PlantElement& e, std::initializer_list<AttributeSpec> specs);
  // The id is well formed ([A-Za-z0-9_.-]+) and not taken yet.
  bool CheckNewId(const PlantElement& e, const std::string& id);
  // Strict numbers: the whole text, finite.
  bool ParseDouble(const PlantElement& e, std::string_view attr, const std::string& text, double& out);
  bool ParseInt(const PlantElement& e, std::string_view attr, const std::string& text, std::int64_t& out);
  bool ParseBool(const PlantElement& e, std::string_view attr, const std::string& text, bool& out);

  // Makes the root of an activity tree a section keeps outside the process container.
  using ActivityRootMaker =
      std::function<Ref<HostActivity>(const std::string& id, const TavUnicodeString& label, const std::string& type)>;
  // Loads `e` as the core loads a <process> element: its id, name, type, time and
  // description make the root through `makeRoot`; its relations, attributes, element
  // extensions and nested <activity> elements load as the core's do (relations and
  // extensions in the core's later steps). Null after reporting a problem.
  Ref<HostActivity> LoadActivityTree(const PlantElement& e, const ActivityRootMaker& makeRoot);

private:
  friend struct PlantLoadAccess;
  std::string fileName_;
  std::string error_;
  std::function<Ref<HostActivity>(const PlantElement&, const ActivityRootMaker&)> treeLoader_;
};

// Writes plant XML: 2-space indentation (capped at depth 64, so very deep trees stay
// linear in size), escaped attribute values, one element per line.
//   w.Start("part"); w.Attr("ref", id); w.End();   ->   <part ref="..."/>
class PlantWriter {
public:
  explicit PlantWriter(std::string& out, int depth = 0) : out_(out), depth_(depth) {}
  // Streaming: whole elements are handed to `sink` in pieces of about `chunk` bytes
  // while flushing is allowed; after the sink fails nothing more is kept.
  using Sink = std::function<bool(std::string_view)>;
  void StreamTo(Sink sink, std::size_t chunk = 1 << 20) {
    sink_ = std::move(sink);
    chunk_ = chunk;
  }
  bool SinkFailed() const { return sinkFailed_; }
  void Start(std::string_view element);
  void Attr(std::string_view name, std::string_view value);
  void Attr(std::string_view name, const TavUnicodeString& value) { Attr(name, std::string_view(value.utf8())); }
  void Attr(std::string_view name, const char* value) { Attr(name, std::string_view(value)); }
  void Attr(std::string_view name, const std::string& value) { Attr(name, std::string_view(value)); }
  void AttrDouble(std::string_view name, double v);  // shortest round-trip form
  void AttrInt(std::string_view name, std::int64_t v);
  void End();
  // A value the format cannot hold (a non-finite number, a malformed id): the
  // document is written anyway but SavePlant refuses to replace the file.
  void Problem(const std::string& message);
  const std::string& FirstProblem() const { return problem_; }
  // Characters only XML 1.1 can carry were written (as character references).
  bool NeedsXml11() const { return needsXml11_; }
  int Depth() const { return depth_; }

  // Escapes a text for an attribute value (& < > " and control characters).
  void AppendEscaped(std::string_view text);

private:
  friend struct PlantWriterAccess;
  void CloseStartTag();
  void MaybeFlush();
  std::string& out_;
  int depth_;
  bool open_ = false;  // a start tag is waiting for '>' or '/>'
  bool needsXml11_ = false;
  std::vector<std::string> stack_;
  std::string problem_;
  Sink sink_;
  std::size_t chunk_ = 0;
  bool holding_ = false;  // flushing paused: what was written may still be taken back
  bool sinkFailed_ = false;
};

// A position matrix as the format writes it: the 12 numbers, rotation rows then
// translation, each in its shortest round-trip form, separated by single blanks.
std::string PlantMatrixText(const std::array<double, 12>& m);
// Reads a matrix attribute: twelve finite numbers separated by single blanks.
bool ParsePlantMatrix(const PlantElement& e, std::string_view attr, const std::string& text, PlantLoadContext& ctx,
                      std::array<double, 12>& m);

using PlantSectionLoader = std::function<bool(const PlantElement& section, PlantLoadContext& ctx)>;
using PlantSectionSaver = std::function<void(const HostDocument& doc, PlantWriter& w)>;
// When a section loads. Early: as soon as its end tag is read, so that the core
// elements after it may use what it set up (library types); it is saved before the
// core sections, so that it comes first again. Normal: step (2) above. Late: after
// the element extensions, so that it may name objects they made (behaviours).
enum class PlantSectionPhase { Early, Normal, Late };
// Registers (or replaces) the section named `elementName`. Core element names throw std::invalid_argument.
void RegisterPlantSection(const std::string& elementName, PlantSectionLoader loader, PlantSectionSaver saver,
                          PlantSectionPhase phase = PlantSectionPhase::Normal);
bool UnregisterPlantSection(const std::string& elementName);

// Writes an activity tree as the core writes a <process>, with `rootElement` for the
// root: id, name, type, time, description, relations, attributes, element extensions
// and nested <activity> elements.
void WritePlantActivityTree(const HostDocument& doc, const Ref<HostActivity>& root, std::string_view rootElement,
                            PlantWriter& w);
// Activity roots that a registered section writes outside <process> (TSAs). The core
// writes their flow links and precedences in <links>, after those of the processes,
// each tree depth first; <links> loads after the sections, so it can name them.
using PlantActivityRootLister = std::function<std::vector<Ref<HostActivity>>(const HostDocument& doc)>;
// Throws std::invalid_argument when no section `elementName` is registered.
void RegisterPlantActivityRoots(const std::string& elementName, PlantActivityRootLister lister);

// A rule an assembly's attributes must follow that a feature knows (a kit's plan type
// is one of the plant's catalogue). Checked for every assembly once everything else
// is loaded, in file order; a non-empty message fails the load at the assembly's
// start tag. Registering under a name already registered replaces that check.
using PlantAssemblyCheck = std::function<std::string(const HostAssembly& assembly, const HostDocument& doc)>;
void RegisterPlantAssemblyCheck(const std::string& name, PlantAssemblyCheck check);

using PlantElementLoader =
    std::function<bool(const PlantElement& child, const Ref<TavBaseUnknown>& owner, PlantLoadContext& ctx)>;
using PlantElementSaver = std::function<void(const Ref<TavBaseUnknown>& owner, PlantWriter& w)>;
// Registers (or replaces) child element `childName` of core element `parentName`
// ("activity", "relation", "product", "resource", "assembly", and the assignment's
// "behavior", see LoadChildExtension). Other parents and core
// child names throw std::invalid_argument.
void RegisterElementExtension(const std::string& parentName, const std::string& childName, PlantElementLoader loader,
                              PlantElementSaver saver);
bool UnregisterElementExtension(const std::string& parentName, const std::string& childName);
// Elements a feature adds to the core take extensions too (parent "behavior"): the
// feature's own loader hands each child it does not know to these, and its saver
// calls them after its own children. An unregistered child is reported as unknown.
bool LoadChildExtension(std::string_view parent, const PlantElement& child, const Ref<TavBaseUnknown>& owner,
                        PlantLoadContext& ctx);
void SaveChildExtensions(std::string_view parent, const Ref<TavBaseUnknown>& owner, PlantWriter& w);

}  // namespace host
