#pragma once
// What the plant format's loader, writer and section registry share; not for
// use outside host/plant/.
#include <string>
#include <string_view>
#include <vector>

#include <xercesc/dom/DOM.hpp>

#include "PlantSections.h"

namespace host {
namespace plant {

std::string Utf8(const XMLCh* s);
// An XMLCh string equals an ASCII name.
bool Is(const XMLCh* s, std::string_view name);
bool ValidId(std::string_view id);
bool AllSpace(const XMLCh* s);
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
};
struct ExtensionEntry {
  std::string parent, child;
  PlantElementLoader loader;
  PlantElementSaver saver;
};
std::vector<SectionEntry>& Sections();
std::vector<ExtensionEntry>& Extensions();
const SectionEntry* FindSection(std::string_view name);
const ExtensionEntry* FindExtension(std::string_view parent, std::string_view child);
std::vector<const ExtensionEntry*> ExtensionsOf(std::string_view parent);
// Children the core itself reads under a core element.
bool IsCoreChild(std::string_view parent, std::string_view child);

}  // namespace plant

// The loader lends the context its activity-tree reader for the time of a load.
struct PlantLoadAccess {
  static void SetTreeLoader(PlantLoadContext& ctx,
                            std::function<Ref<HostActivity>(const xercesc::DOMElement&, const PlantLoadContext::ActivityRootMaker&)> f) {
    ctx.treeLoader_ = std::move(f);
  }
};

}  // namespace host
