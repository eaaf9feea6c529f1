#pragma once
// Versions of manufactured assemblies: what an assembly carries beside its content
// (the engineering product it realises, whether it is produced elsewhere, its version
// number), the document's modification log the versioning reads, and the services
// that tell which assemblies really changed and make their new versions.
#include <vector>

#include "TavPPR.h"

// The modification codes the workbench logs.
namespace TavModificationCode {
inline constexpr int Content = 1;              // attribute "content": a part added or removed
inline constexpr int Name = 2;                 // attribute "name"
inline constexpr int PartNumber = 3;           // attribute "partnumber"
inline constexpr int ExternallyProduced = 12;  // attribute "externallyproduced"
}  // namespace TavModificationCode

// One entry of a document's modification log.
struct TavModificationEntry {
  Ref<TavBaseUnknown> object;
  int code = 0;
  TavUnicodeString attribute;
};

// What an assembly carries beside its content (an extension of the assembly).
class OrvIMfgAssemblyReference : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIMfgAssemblyReference);
  // The type's display name: "Manufactured Assembly", "Manufacturing Kit", ...
  virtual TavUnicodeString GetTypeName() const = 0;
  virtual bool IsExternallyProduced() const = 0;
  virtual void SetExternallyProduced(bool produced) = 0;
  // The engineering product the assembly realises; null when it is linked to none.
  virtual Ref<TavBaseUnknown> GetRefEbomProduct() const = 0;
  // S_OK linked (a link made before is replaced); E_FAIL, nothing changed, for no
  // product, a resource, or a product of another document.
  virtual HRESULT LinkRefEbom(const Ref<TavBaseUnknown>& product) = 0;
  // S_OK; E_FAIL when the assembly is linked to no product.
  virtual HRESULT UnlinkRefEbom() = 0;
  // 0 before the first version.
  virtual int GetVersion() const = 0;
};

// A document's modification log and versioning (a root container of the document,
// also answering TavILinkableObject for the log).
class OrvIMAVersioningServices : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIMAVersioningServices);
  // Appends an entry; E_FAIL for no object.
  virtual HRESULT LogModification(const Ref<TavBaseUnknown>& object, int code, const TavUnicodeString& attribute) = 0;
  // The entries not yet taken into a version, in the order logged.
  virtual std::vector<TavModificationEntry> GetModificationLog() const = 0;
  // The assemblies the log names, each once, in the order of their first entry.
  virtual std::vector<Ref<OrvIMfgAssembly>> GetModifiedMAsFromLog() const = 0;
  // The assembly differs from the state of its last version (one never versioned
  // counts as changed once the log names it): a flag toggled twice is no change.
  virtual bool WasMAReallyMod(const Ref<OrvIMfgAssembly>& ma) const = 0;
  // Version + 1, the current state stored as the version's, the assembly's log
  // entries taken into it. S_OK; E_FAIL for an assembly of another document.
  virtual HRESULT CreateNewMAVersion(const Ref<OrvIMfgAssembly>& ma) = 0;
};

// The versioning as the workbench calls it: each answer comes from the services of
// the assembly's (the container's) document; without them nothing is modified and no
// version can be made.
class OrvVekMfgAssyVersioningUtilities {
public:
  // The document's assembly container; null without one.
  static Ref<TavIMfgAssemblyContainer> GetMBNContainer(const Ref<TavDocument>& doc);
  static std::vector<Ref<OrvIMfgAssembly>> GetModifiedMAsFromLog(const Ref<TavBaseUnknown>& container);
  static bool WasMAReallyMod(const Ref<OrvIMfgAssembly>& ma);
  // 0 on success.
  static HRESULT CreateNewMAVersion(const Ref<OrvIMfgAssembly>& ma);
  // The services of the document an object belongs to (an assembly, a container).
  static Ref<OrvIMAVersioningServices> ServicesOf(const Ref<TavBaseUnknown>& object);
};

void TavDeclareMfgVersioningInterfaces();
