#pragma once
// Activity libraries (docs/activity-library.md): activity types with a super type,
// an icon and sub-activity types, read strictly from small XML files, and the one
// table of activity types of this process. A library file is read once per run and
// shared by every document naming it; its types become host types, so CreateChild
// and the plant loader know them.
#include <string>
#include <unordered_map>
#include <vector>

#include "HostModel.h"
#include "TavActivityLib.h"

namespace host {

class ActivityLibraryFile;

// An activity type: one of the host's own or one a library defines. Trees name it
// by its name.
class ActivityType final : public virtual TavIActivityType, public virtual TavINavigateObject {
public:
  ActivityType(std::string name, std::string kind, Ref<TavIActivityType> super, std::string icon,
               std::vector<TavUnicodeString> subTypes, const ActivityLibraryFile* library)
      : name_(std::move(name)), kind_(std::move(kind)), super_(std::move(super)), icon_(std::move(icon)),
        subTypes_(std::move(subTypes)), library_(library) {}
  std::string LateType() const override { return "LibraryActivity"; }
  TavUnicodeString GetName() const override { return name_; }
  std::vector<TavUnicodeString> GetIdentificators() const override { return {name_}; }
  TavUnicodeString GetKind() const override { return kind_; }
  Ref<TavIActivityType> GetSuperType() const override { return super_; }
  Ref<TavLibraryDocument> GetLibraryDocument() const override;
  TavUnicodeString GetIconName() const override { return icon_; }
  std::vector<TavUnicodeString> GetSubActivityTypes() const override { return subTypes_; }

  const std::string& Name() const { return name_; }
  const std::string& Icon() const { return icon_; }
  const ActivityLibraryFile* Library() const { return library_; }

private:
  std::string name_, kind_;
  Ref<TavIActivityType> super_;
  std::string icon_;
  std::vector<TavUnicodeString> subTypes_;
  const ActivityLibraryFile* library_;  // the registry keeps files for the whole run
};

// The document of a library as one plant sees it: its environment (the plant's hub
// environment, or a local one that names the document by the library's title) and
// whether the plant marked it modified.
class LibraryDocument final : public virtual TavLibraryDocument {
public:
  LibraryDocument(const ActivityLibraryFile& file, Ref<TavIDocEnvironment> environment);
  TavUnicodeString GetStorageName() const override;
  TavUnicodeString GetDisplayName() const override;
  TavUnicodeString GetFileExtension() const override;
  Ref<TavIDocEnvironment> GetDocEnvironment() const override { return environment_; }
  int GetDirtyStatus() const override { return dirty_; }
  void SetDirtyStatus(int s) { dirty_ = s; }
  const ActivityLibraryFile& File() const { return file_; }

private:
  const ActivityLibraryFile& file_;
  Ref<TavIDocEnvironment> environment_;
  int dirty_ = TavDirtyStatus::Saved;
};

// The environment of library documents outside the hub.
class LibraryEnvironment final : public virtual TavIDocEnvironment {
public:
  TavUnicodeString GetName() const override { return "TavLocalDocEnv"; }
  bool IsAKindOf(const TavUnicodeString& kind) const override { return kind == GetName() || kind == "TavDocEnvironment"; }
  TavUnicodeString GetIdentifierName(const Ref<TavBaseUnknown>& document) const override;
  static Ref<LibraryEnvironment> Local();
};

// A library file as read: its absolute path, title and types in file order.
class ActivityLibraryFile {
public:
  // The document as a plant outside the hub sees it, unmodified.
  Ref<LibraryDocument> Document() const { return document_; }
  const std::string& Path() const { return path_; }          // absolute
  const std::string& FileName() const { return fileName_; }  // without folder
  const std::string& Extension() const { return extension_; }
  const std::string& Title() const { return title_; }        // the name attribute; may be empty
  const std::vector<Ref<ActivityType>>& Types() const { return types_; }

private:
  friend class ActivityLibraries;
  std::string path_, fileName_, extension_, title_;
  std::vector<Ref<ActivityType>> types_;
  Ref<LibraryDocument> document_;
};

// Every activity type of the run and every library read, by name and by path.
class ActivityLibraries final : public OrvVekPlantypeCache {
public:
  static ActivityLibraries& Get();

  // The library at `path` (relative to the working folder), read on first use. On
  // failure: null, "FILE:LINE:COLUMN: message" in `error` (FILE as given), and no
  // type registered.
  const ActivityLibraryFile* Load(const std::string& path, std::string& error);
  // Reads library text; `fileName` names it in messages, `path` is kept as its path.
  const ActivityLibraryFile* Parse(const std::string& bytes, const std::string& fileName, std::string& error);
  // Reads library text as Parse does, but registers nothing and keeps nothing.
  bool Check(const std::string& bytes, const std::string& fileName, std::string& error) const;
  // One of the workbench's own libraries in the resource folder ("OrvBIWActivityLibrary.feat").
  const ActivityLibraryFile* LoadWorkbenchLibrary(const std::string& fileName, std::string& error);
  static bool IsWorkbenchLibrary(const std::string& fileName);

  HRESULT BitmapName(const TavUnicodeString& type, TavUnicodeString& bitmap) const override;
  Ref<TavIActivityType> FindType(const TavUnicodeString& name) const override;
  const ActivityType* Find(const std::string& name) const;

private:
  ActivityLibraries();
  void AddOwn(const std::string& name, const std::string& kind, const std::string& super);
  // Reads and, when good, registers the types; `cache`: kept by path for the run.
  const ActivityLibraryFile* Read(const std::string& bytes, const std::string& fileName, const std::string& absolute, bool cache,
                                  std::string& error);
  std::unordered_map<std::string, Ref<ActivityType>> types_;  // first definition of each name
  std::unordered_map<std::string, std::unique_ptr<ActivityLibraryFile>> files_;  // by canonical path
  std::vector<std::unique_ptr<ActivityLibraryFile>> parsed_;  // read from text (tests, fuzzing)
};

}  // namespace host
