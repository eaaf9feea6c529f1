#pragma once
// What the reference host keeps about manufactured assemblies beside their content:
// the externally-produced mark, the reference engineering product, the version number
// and the state of the last version; and the document's modification log. One store
// per document; every change is an undoable model change; plant files keep them in
// <versioning> (in <assembly>) and <modificationLog>.
#include <optional>
#include <unordered_map>

#include "HostModel.h"
#include "TavCopy.h"
#include "TavMfgVersioning.h"

namespace host {

// An assembly's state as a version fixes it.
struct MAState {
  TavUnicodeString name, partNumber;
  int type = 1;
  bool externallyProduced = false;
  Ref<TavBaseUnknown> refEbom;
  std::vector<Ref<TavBaseUnknown>> parts;
  // Parts and reference of the version that had left the plant when it was saved: the
  // state differs from any current one, as it did before the save.
  int gone = 0;
  bool operator==(const MAState&) const = default;
};

struct MARecord {
  bool externallyProduced = false;
  Ref<HostProduct> refEbom;
  int version = 0;
  std::optional<MAState> last;  // the state of the last version
  bool operator==(const MARecord&) const = default;
};

class HostMAVersions final : public virtual OrvIMAVersioningServices, public virtual TavILinkableObject {
public:
  explicit HostMAVersions(HostDocument* doc) : doc_(*doc) {}
  // TavILinkableObject: nothing points at the document.
  std::vector<Ref<TavBaseUnknown>> GetLinkedObjects() const override { return {}; }
  HRESULT LogModification(const Ref<TavBaseUnknown>& object, int code, const TavUnicodeString& attribute) override;
  std::vector<TavModificationEntry> GetModificationLog() const override;
  std::vector<Ref<OrvIMfgAssembly>> GetModifiedMAsFromLog() const override;
  bool WasMAReallyMod(const Ref<OrvIMfgAssembly>& ma) const override;
  HRESULT CreateNewMAVersion(const Ref<OrvIMfgAssembly>& ma) override;

  // The record of an assembly; a default one when it has none.
  const MARecord& Record(const HostAssembly& a) const;
  // Replaces a record, recording the old one for undo.
  void Put(const HostAssembly& a, MARecord r);
  MAState Current(const HostAssembly& a) const;
  // The reference product while it is in the plant: a deleted product links nothing,
  // and undoing the deletion brings the link back.
  Ref<HostProduct> RefEbom(const HostAssembly& a) const;

  struct Entry {
    Ref<HostObject> object;
    int code;
    TavUnicodeString attribute;
    bool versioned = false;  // taken into a version: no longer a modification
  };
  const std::vector<Entry>& Log() const { return log_; }
  // Whether the object's newest entry not yet versioned has this code: the host logs a
  // run of like edits (parts added one by one) once.
  bool NewestEntryIs(const HostObject& o, int code) const;
  // Loading: an entry and a record the loader has checked, without undo records.
  void AppendLoaded(Entry e);
  void PutLoaded(const HostAssembly& a, MARecord r) { records_[a.GetModelNumber()] = std::move(r); }

private:
  friend class MARecordUndo;
  friend class MALogUndo;
  void SetVersioned(const std::vector<std::size_t>& entries, bool versioned);
  void PopEntry();
  HostDocument& doc_;
  std::unordered_map<int, MARecord> records_;  // by model number: few assemblies carry one
  std::vector<Entry> log_;
  // The live entries of each object by model number, so a version does not scan the log.
  std::unordered_map<int, std::vector<std::size_t>> entriesOf_;
};

HostMAVersions* MAVersionsOf(const HostDocument& doc);

// Synthetic plants: `count` assemblies, each with a product and the earlier assemblies
// i/2 and i/3 (shared sub-assemblies); every tenth versioned, then changed and logged.
std::size_t AddGeneratedAssemblies(HostDocument& doc, std::size_t count);

// The host's own recorded edits of an assembly (content, name, part number) are logged
// with their TavModificationCode; commands log their own.
// The store on every document and the assembly extension (MAVersions.cpp); with the
// plant elements (MAVersionsPlant.cpp).
void RegisterMAVersionStore();
void RegisterMAVersions();

}  // namespace host
