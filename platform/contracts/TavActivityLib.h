#pragma once
// Activity libraries as the workbench sees them: the documents they are stored in,
// the activity types they define, a process document's library containers, the
// plan-type cache of type icons, hub plan types and the behaviour container.
#include "TavPPR.h"

// The document an activity library is stored in ("/plants/body.act",
// "OrvBIWActivityLibrary.feat").
class TavLibraryDocument : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavLibraryDocument);
  virtual TavUnicodeString GetStorageName() const = 0;    // the full path of its file
  virtual TavUnicodeString GetDisplayName() const = 0;    // may be empty
  virtual TavUnicodeString GetFileExtension() const = 0;  // "act", "feat"
  virtual Ref<TavIDocEnvironment> GetDocEnvironment() const = 0;
  // TavDirtyStatus: saved, or modified and not saved.
  virtual int GetDirtyStatus() const = 0;
};
namespace TavDirtyStatus {
inline constexpr int Saved = 0, ModifiedNotSaved = 3;
}

// An activity type: one the host knows itself ("PhysicalActivity") or one a library
// defines. Its late type is "LibraryActivity".
class TavIActivityType : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIActivityType);
  virtual TavUnicodeString GetName() const = 0;
  // "Activity" for activity types, "ControlFlow" for control nodes ("Switch", ...).
  virtual TavUnicodeString GetKind() const = 0;
  virtual Ref<TavIActivityType> GetSuperType() const = 0;            // null at a root type
  virtual Ref<TavLibraryDocument> GetLibraryDocument() const = 0;    // null for the host's own
  virtual TavUnicodeString GetIconName() const = 0;                  // may be empty
  virtual std::vector<TavUnicodeString> GetSubActivityTypes() const = 0;  // in library order
};

// On an activity library container of a process document (late type "SPPLibCont").
class TavIActivityLibrary : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIActivityLibrary);
  // Null when the library's document cannot be found.
  virtual Ref<TavLibraryDocument> GetLibraryDocument() const = 0;
  virtual std::vector<Ref<TavIActivityType>> GetActivityTypes() const = 0;  // in library order
};

// A process document's libraries: a root container supporting this interface.
class TavIActivityLibraryMgt : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIActivityLibraryMgt);
  // The library containers, in document order.
  virtual std::vector<Ref<TavBaseUnknown>> GetLibraryContainers() const = 0;
  // Makes a library the workbench ships ("OrvBIWActivityLibrary.feat") available in
  // the document: its container, the one already there on a second call. It is not
  // a change of the plant (never saved, never undone). Null with `error` set when
  // the library cannot be loaded.
  virtual Ref<TavBaseUnknown> AttachWorkbenchLibrary(const TavUnicodeString& fileName, TavUnicodeString& error) = 0;
};

inline Ref<TavIActivityLibraryMgt> TavActivityLibrariesOf(const Ref<TavDocument>& doc) {
  if (!doc) return nullptr;
  return query<TavIActivityLibraryMgt>(doc->GetRootContainer(TavIActivityLibraryMgt::kInterfaceName));
}

// The host's cache of activity types: icons (bitmap names) and the types by name.
class OrvVekPlantypeCache {
public:
  virtual ~OrvVekPlantypeCache() = default;
  // The host's cache; null before the host is started.
  static OrvVekPlantypeCache* GetInstance();
  static void Install(OrvVekPlantypeCache* cache);
  // The bitmap name of a type: S_OK with a name, S_FALSE and empty when the type
  // has no icon, E_FAIL for a type nobody defines.
  virtual HRESULT BitmapName(const TavUnicodeString& type, TavUnicodeString& bitmap) const = 0;
  // The type of that name, or null.
  virtual Ref<TavIActivityType> FindType(const TavUnicodeString& name) const = 0;
};

// Hub plan types: which activity types an object may receive as children.
class OrvIMHIPlanType : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIMHIPlanType);
  virtual TavUnicodeString GetName() const = 0;
  // The allowed child types, in hub order; E_FAIL when the plan type cannot list them.
  virtual HRESULT GetAllowedChildTypes(std::vector<TavUnicodeString>& types) const = 0;
};

// On hub objects (activities, behaviours): their plan type, or null.
class OrvIMHIPlanTypeObject : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIMHIPlanTypeObject);
  virtual Ref<OrvIMHIPlanType> GetPlanType() const = 0;
};

// The behaviour container of a process document (late type "OrvBehaviorCont"): a
// root container supporting this interface.
class OrvIBehaviorContainer : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIBehaviorContainer);
  virtual std::vector<Ref<TavBaseUnknown>> GetBehaviors() const = 0;  // in resource order
};

// Navigation of an object whose children a navigation box shows (library
// containers, the add-activity dialog's type nodes).
class TavINavigateObjectActivity : public virtual TavINavigateObject {
public:
  TAV_INTERFACE(TavINavigateObjectActivity);
  virtual std::vector<Ref<TavBaseUnknown>> GetChildren() const = 0;
};

// A logical activity: a grouping of activities that does no work itself.
class TavISPPLogicalActivity : public virtual TavISPPAbstractActivity {
public:
  TAV_INTERFACE(TavISPPLogicalActivity);
};

void TavDeclareActivityLibInterfaces();
