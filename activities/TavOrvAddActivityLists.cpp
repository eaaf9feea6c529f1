// The types the add-activity command offers: the rows of the process document's
// activity libraries, or in the hub the child types the receiving object's plan
// type allows.
#include <cstdlib>
#include <unordered_set>

#include "TavOrvAddActivityCmd.h"
#include "TavPlanner.h"
#include "TavServices.h"

namespace {
constexpr const char* kClass = "TavOrvAddActivityCmd";
constexpr const char* kWorkbenchLibraries[] = {"OrvBIWActivityLibrary.feat", "VEKAssistantProcessLibrary.feat"};

Ref<TavDocument> CurrentDocument() {
  auto editor = TavFrmEditor::GetCurrentEditor();
  return editor ? editor->GetDocument() : nullptr;
}

std::string FileName(const std::string& path) {
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

TavUnicodeString Bitmap(const TavUnicodeString& type) {
  TavUnicodeString bitmap;
  if (auto* cache = OrvVekPlantypeCache::GetInstance()) cache->BitmapName(type, bitmap);
  return bitmap;
}
}  // namespace

bool TavOrvAddActivityCmd::DetermineHubBasedMode() {
  auto doc = CurrentDocument();
  auto env = doc ? doc->GetDocEnvironment() : nullptr;
  hubMode_ = (env && env->GetName() == "YorDocEnv") || std::getenv("ORV_ENABLE_ZARNET_DOC") != nullptr;
  return hubMode_;
}

HRESULT TavOrvAddActivityCmd::GetSPPProcessContainer(const Ref<TavDocument>& document,
                                                     std::vector<Ref<TavBaseUnknown>>& containers) {
  containers.clear();
  if (!document) return E_FAIL;
  for (const auto& c : document->GetContainers())
    if (query<TavISPPMonoProcessContainer>(c)) containers.push_back(c);
  return containers.empty() ? S_FALSE : S_OK;
}

void TavOrvAddActivityCmd::ManageNecessaryContainers() {
  TavTraceScope scope(Trace(), kClass, "ManageNecessaryContainers");
  auto doc = CurrentDocument();
  if (auto libraries = TavActivityLibrariesOf(doc)) {
    for (const char* name : kWorkbenchLibraries) {
      TavUnicodeString error;
      if (!libraries->AttachWorkbenchLibrary(name, error) && Trace().IsEnabled())
        Trace().Print(std::string(name) + ": " + error.utf8());
    }
  }
  if (doc && !doc->GetRootContainer(OrvIBehaviorContainer::kInterfaceName) && Trace().IsEnabled())
    Trace().Print("The document has no OrvBehaviorCont");
  std::vector<Ref<TavBaseUnknown>> processes;
  if (GetSPPProcessContainer(doc, processes) != S_OK && Trace().IsEnabled()) Trace().Print("No process container");
}

void TavOrvAddActivityCmd::LoadActFiles() {
  TavTraceScope scope(Trace(), kClass, "LoadActFiles");
  types_.clear();
  subTypes_.clear();
  icons_.clear();
  subIcons_.clear();
  auto libraries = TavActivityLibrariesOf(CurrentDocument());
  if (!libraries) return;
  std::unordered_set<std::string> loaded;
  for (const auto& container : libraries->GetLibraryContainers()) {
    auto library = query<TavIActivityLibrary>(container);
    auto doc = library ? library->GetLibraryDocument() : nullptr;
    if (!doc || doc->GetFileExtension() == "feat") continue;
    const std::string path = doc->GetStorageName().utf8();
    const std::string name = FileName(path);
    if (!hubMode_ && doc->GetDirtyStatus() == TavDirtyStatus::ModifiedNotSaved) {
      // The types offered are those on disk; the user should know they may differ.
      TavDlgNotify box(nullptr, "ActModNotSaved", TavDlgNotify::Warning);
      box.DisplayBox(TavMsgCatalog::BuildMessage(OrvAddActivityDlg::kCatalog, "ActFileNotSavedTitle", {}, "Library not saved"),
                     TavUnicodeString(name) + TavMsgCatalog::BuildMessage(OrvAddActivityDlg::kCatalog, "ActFileNotSavedMessage", {},
                                                                         ": modified and not saved."));
      box.DisplayBlocked();
    }
    // A second library of the same file name adds nothing: its node is the first's.
    if (!loaded.insert(name).second) continue;
    types_.push_back(path);
    subTypes_.emplace_back();
    icons_.emplace_back();
    subIcons_.emplace_back();
    GetActivityListFromActFile(library);
  }
}

void TavOrvAddActivityCmd::GetActivityListFromActFile(const Ref<TavIActivityLibrary>& library) {
  if (!library) return;
  for (const auto& type : library->GetActivityTypes()) {
    if (!type) continue;
    const TavUnicodeString name = type->GetName(), icon = type->GetIconName();
    const auto subs = type->GetSubActivityTypes();
    if (subs.empty()) {
      types_.push_back(name);
      subTypes_.emplace_back();
      icons_.push_back(icon);
      subIcons_.emplace_back();
    }
    for (const auto& sub : subs) {
      types_.push_back(name);
      subTypes_.push_back(sub);
      icons_.push_back(icon);
      subIcons_.push_back(Bitmap(sub));
    }
  }
}

void TavOrvAddActivityCmd::GetActivityIconList(std::vector<TavUnicodeString>& icons, std::vector<TavUnicodeString>& subIcons) const {
  icons = icons_;
  subIcons = subIcons_;
}

bool TavOrvAddActivityCmd::GetActivityList(std::vector<TavUnicodeString>& types, std::vector<TavUnicodeString>& subTypes,
                                           std::vector<TavUnicodeString>& biwTypes) {
  TavTraceScope scope(Trace(), kClass, "GetActivityList");
  types.clear();
  subTypes.clear();
  biwTypes.clear();
  if (!hubMode_) {
    types = types_;
    subTypes = subTypes_;
    return true;
  }
  chosenType_ = {};
  typeChosen_ = false;
  if (dialog_) dialog_->ShowSelectedActivity({});
  UpdateButtons();
  Ref<TavBaseUnknown> receiver;
  if (resourceTarget_ || underBehavior_) receiver = behavior_;
  else if (GetInsertOption() == OrvAddActivityDlg::AddAsSuccessor) receiver = father_;
  else receiver = target_;
  auto object = query<OrvIMHIPlanTypeObject>(receiver);
  auto planType = object ? object->GetPlanType() : nullptr;
  std::vector<TavUnicodeString> allowed;
  if (!planType || FAILED(planType->GetAllowedChildTypes(allowed))) return false;
  for (const auto& t : allowed) {
    if (t == "OrvBehavior") continue;
    (IsBIWActivity(t) ? biwTypes : types).push_back(t);
  }
  return true;
}

bool TavOrvAddActivityCmd::IsBIWActivity(const TavUnicodeString& type) {
  auto* cache = OrvVekPlantypeCache::GetInstance();
  // A body-in-white type is one the workbench's body-in-white library defines, or a
  // type derived from one.
  for (auto t = cache ? cache->FindType(type) : nullptr; t; t = t->GetSuperType()) {
    auto doc = t->GetLibraryDocument();
    if (doc && FileName(doc->GetStorageName().utf8()) == kWorkbenchLibraries[0]) return true;
  }
  return false;
}

bool TavOrvAddActivityCmd::IsResource(const Ref<TavBaseUnknown>& product) {
  auto p = query<TavIProduct>(product);
  return p && p->IsResource();
}

bool TavOrvAddActivityCmd::IsNotFileBasedResource(const Ref<TavBaseUnknown>& product) {
  // This host keeps every resource in the plant itself: none is file based.
  return IsResource(product);
}
