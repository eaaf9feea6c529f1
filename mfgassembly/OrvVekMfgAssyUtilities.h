#pragma once
// What the assembly and kit commands share: redraws of the assembly tree, the
// names and type texts the dialog lists, and where a product lives.
#include "TavServices.h"

class OrvVekMfgAssyUtilities {
public:
  // The instance name of the product every resource hangs under.
  static constexpr const char* kResourceRootName = "Resource.1";

  // Refreshes the tree of the current document's assembly container.
  static void RedrawMAContainer();
  // Refreshes one assembly (its node and content).
  static void RedrawMA(const Ref<OrvIMfgAssembly>& ma);

  // What the dialog shows for an object: a product's instance name (its first
  // navigation name, then its part number, when it has none), an assembly's name.
  static TavUnicodeString GetDisplayName(const Ref<TavBaseUnknown>& object);
  // The product or one of its fathers in the product structure (where root
  // resources hang under the resource tree's root) is named "Resource.1".
  static bool IsUnderResourceRoot(const Ref<TavIProduct>& product);
  // The product every resource of its document hangs under (no content of anything).
  static bool IsResourceTreeRoot(const Ref<TavIProduct>& product);
  // The type column of kits: "ManufacturingKit" or "Assembly" for assemblies,
  // "Resource" or "Produkt" for products; empty for anything else.
  static TavUnicodeString GetKitTypeText(const Ref<TavBaseUnknown>& object);
  // Whether `inner` is `outer` or lies inside it, at any depth.
  static bool Reaches(const Ref<OrvIMfgAssembly>& outer, const Ref<OrvIMfgAssembly>& inner);
  // The assembly a clicked path ends at, else `fallback` as an assembly.
  static Ref<OrvIMfgAssembly> AssemblyOf(const TavPathElement& path, const Ref<TavBaseUnknown>& fallback);
};
