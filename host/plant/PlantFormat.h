#pragma once
// What the plant format's loader, writer and section registry share; not for
// use outside host/plant/.
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <xercesc/util/XercesDefs.hpp>

#include "PlantSections.h"
#include "PlantXml.h"

namespace host {
namespace plant {

std::string Utf8(const XMLCh* s);
bool ValidId(std::string_view id);
// Strict numbers and booleans: the whole text, finite.
bool ParseStrictDouble(std::string_view text, double& out);
bool ParseStrictInt(std::string_view text, std::int64_t& out);
bool ParseStrictBool(std::string_view text, bool& out);
std::string Quote(std::string_view s);
// The file name without folder and extension: a plant's default display name.
std::string Stem(const std::string& path);
// "product", "resource", "assembly", "activity" or "object", for messages.
std::string KindOf(const Ref<TavBaseUnknown>& o);

struct SectionEntry {
  std::string name;
  PlantSectionLoader loader;
  PlantSectionSaver saver;
  PlantActivityRootLister roots;  // activity trees the section writes, for <links>
  PlantSectionPhase phase = PlantSectionPhase::Normal;
};
struct ExtensionEntry {
  std::string parent, child;
  PlantElementLoader loader;
  PlantElementSaver saver;
};
std::vector<std::pair<std::string, PlantAssemblyCheck>>& AssemblyChecks();
std::vector<SectionEntry>& Sections();
std::vector<ExtensionEntry>& Extensions();
const SectionEntry* FindSection(std::string_view name);
const ExtensionEntry* FindExtension(std::string_view parent, std::string_view child);
std::vector<const ExtensionEntry*> ExtensionsOf(std::string_view parent);
// Children the core itself reads under a core element.
bool IsCoreChild(std::string_view parent, std::string_view child);

// The attributes of a start tag by name: each listed one is set when present; an
// attribute not listed or a missing required one gives the message, else "".
struct AttrSpec {
  std::string_view name;
  std::optional<std::string_view>* value;
  bool required;
};
std::string AttributeProblem(const XmlStart& e, std::initializer_list<AttrSpec> specs);

}  // namespace plant

// The loader lends the context its activity-tree reader for the time of a load.
struct PlantLoadAccess {
  static void SetTreeLoader(PlantLoadContext& ctx,
                            std::function<Ref<HostActivity>(const PlantElement&, const PlantLoadContext::ActivityRootMaker&)> f) {
    ctx.treeLoader_ = std::move(f);
  }
};

}  // namespace host
