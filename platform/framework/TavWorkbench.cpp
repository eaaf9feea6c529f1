#include "TavWorkbench.h"

#include <algorithm>
#include <unordered_map>

namespace {

// The host's headers: owned here, found by identifier, kept in creation order.
struct HeaderList {
  std::vector<std::unique_ptr<TavCommandHeader>> ordered;
  std::unordered_map<std::string, TavCommandHeader*> byId;
};
HeaderList& Headers() {
  static HeaderList l;
  return l;
}

std::vector<std::unique_ptr<TavCmdWorkshop>>& Workshops() {
  static std::vector<std::unique_ptr<TavCmdWorkshop>> w;
  return w;
}

struct AddinEntry {
  int token;
  std::string iface;
  TavWorkbenchAddins::Factory factory;
};
std::vector<AddinEntry>& Addins() {
  static std::vector<AddinEntry> a;
  return a;
}

std::vector<TavWorkbenchDictionary::Entry>& Dictionary() {
  static std::vector<TavWorkbenchDictionary::Entry> d;
  return d;
}

const TavUnicodeString& EmptyName() {
  static const TavUnicodeString empty;
  return empty;
}

}  // namespace

// ------------------------------------------------------------------ headers
TavCommandHeader::TavCommandHeader(const TavUnicodeString& identifier, const TavUnicodeString& moduleName,
                                   const TavUnicodeString& className, void* argument, int initialState)
    : id_(identifier),
      module_(moduleName),
      class_(className),
      argument_(argument),
      initialState_(initialState),
      available_(initialState == kAvailable) {}

TavCommandHeader::TavCommandHeader(const TavUnicodeString& identifier, const TavUnicodeString& moduleName,
                                   const TavUnicodeString& className, int initialState)
    : TavCommandHeader(identifier, moduleName, className, nullptr, initialState) {}

TavCommandHeader::TavCommandHeader(const TavUnicodeString& identifier, const TavUnicodeString& className,
                                   int initialState)
    : TavCommandHeader(identifier, TavUnicodeString(), className, nullptr, initialState) {}

std::unique_ptr<TavCommandHeader> TavCommandHeader::Clone() const { return std::make_unique<TavCommandHeader>(*this); }

const TavUnicodeString& TavCommandHeader::GetResourceFile(int level) const {
  static const TavUnicodeString own("TavCommandHeader");
  return level <= 0 ? own : EmptyName();
}

TavUnicodeString TavCommandHeader::GetFW() const { return "TavHost"; }

TavCommandHeader* TavCommandHeader::GetHeaderFromList(const TavUnicodeString& identifier, int /*flag*/) {
  auto& l = Headers();
  auto it = l.byId.find(identifier.utf8());
  return it == l.byId.end() ? nullptr : it->second;
}

TavCommandHeader* TavCommandHeader::AddToList(std::unique_ptr<TavCommandHeader> header) {
  if (!header) return nullptr;
  auto& l = Headers();
  auto [it, inserted] = l.byId.emplace(header->GetID().utf8(), header.get());
  if (!inserted) return it->second;
  l.ordered.push_back(std::move(header));
  return it->second;
}

std::vector<TavCommandHeader*> TavCommandHeader::GetList() {
  std::vector<TavCommandHeader*> out;
  out.reserve(Headers().ordered.size());
  for (auto& h : Headers().ordered) out.push_back(h.get());
  return out;
}

void TavCommandHeader::ClearList() {
  auto& l = Headers();
  l.byId.clear();
  l.ordered.clear();
}

// ------------------------------------------------------------------ workshops
TavCmdWorkshop* TavCmdWorkshop::GetGlobal() { return Workshops().empty() ? nullptr : Workshops().front().get(); }

TavCmdWorkshop* TavCmdWorkshop::FindGlobal(const TavUnicodeString& name) {
  for (auto& w : Workshops())
    if (w->GetName() == name) return w.get();
  return nullptr;
}

TavCmdWorkshop* TavCmdWorkshop::AddGlobal(std::unique_ptr<TavCmdWorkshop> workshop) {
  if (!workshop) return nullptr;
  if (auto* listed = FindGlobal(workshop->GetName())) return listed;
  auto& w = Workshops();
  if (!w.empty()) w.back()->next_ = workshop.get();
  w.push_back(std::move(workshop));
  return w.back().get();
}

void TavCmdWorkshop::ClearGlobal() { Workshops().clear(); }

TavCmdAccess* TavCmdWorkshop::FindWorkbench(const TavUnicodeString& name) const {
  for (auto& wb : workbenches_)
    if (wb->GetName() == name) return wb.get();
  return nullptr;
}

TavCmdAccess* TavCmdWorkshop::AddWorkbench(const TavUnicodeString& name) {
  if (auto* wb = FindWorkbench(name)) return wb;
  auto wb = std::make_unique<TavCmdAccess>(name);
  if (!workbenches_.empty()) workbenches_.back()->next_ = wb.get();
  workbenches_.push_back(std::move(wb));
  return workbenches_.back().get();
}

bool TavCmdWorkshop::SetCurrentWorkbench(TavCmdAccess* workbench) {
  if (workbench && std::none_of(workbenches_.begin(), workbenches_.end(),
                                [&](const auto& wb) { return wb.get() == workbench; }))
    return false;
  current_ = workbench;
  return true;
}

// ------------------------------------------------------------------ layout
const TavWorkbenchToolbar* TavWorkbenchLayout::FindToolbar(const TavUnicodeString& name) const {
  for (auto& t : toolbars)
    if (t.name == name) return &t;
  return nullptr;
}

const TavWorkbenchMenu* TavWorkbenchLayout::FindMenu(const TavUnicodeString& name) const {
  for (auto& m : menus)
    if (m.name == name) return &m;
  return nullptr;
}

std::vector<TavUnicodeString> TavWorkbenchLayout::PlacedHeaders() const {
  std::vector<TavUnicodeString> out;
  for (auto& t : toolbars) out.insert(out.end(), t.headers.begin(), t.headers.end());
  for (auto& m : menus)
    for (auto& e : m.entries)
      if (!e.submenu) out.push_back(e.name);
  RemoveDuplicates(out);
  return out;
}

// ------------------------------------------------------------------ add-ins
int TavWorkbenchAddins::Register(std::string addinInterface, Factory factory) {
  static int next = 0;
  Addins().push_back({++next, std::move(addinInterface), std::move(factory)});
  return next;
}

void TavWorkbenchAddins::Unregister(int token) {
  std::erase_if(Addins(), [&](const AddinEntry& e) { return e.token == token; });
}

std::vector<Ref<TavIWorkbenchAddin>> TavWorkbenchAddins::Create(std::string_view addinInterface) {
  std::vector<Ref<TavIWorkbenchAddin>> out;
  // A factory may register further add-ins; iterate over a copy.
  const auto entries = Addins();
  for (auto& e : entries)
    if (e.iface == addinInterface && e.factory)
      if (auto a = e.factory()) out.push_back(std::move(a));
  return out;
}

// ------------------------------------------------------------------ adapters
OrvECommonWkbAdapter::OrvECommonWkbAdapter(TavUnicodeString workbenchName, int mode)
    : name_(std::move(workbenchName)), mode_(mode) {}

void OrvECommonWkbAdapter::CreateStandardContent() {
  layout_.menus.push_back({"INSERT", {}, {}});
  layout_.menus.push_back({"TOOLS", {}, {}});
  if (mode_ == kProcessMode && !TavCommandHeader::GetHeaderFromList("AddChildPhysicalActivity", 0))
    TavCommandHeader::AddToList(std::make_unique<TavCommandHeader>(
        "AddChildPhysicalActivity", kTavHostCommandModule, "TavSPPAddChildPhysicalActivityCmd", nullptr,
        TavCommandHeader::kAvailable));
}

void OrvECommonWkbAdapter::CreateCommands() {
  if (defined_) return;
  defined_ = true;  // before the definition, so that a re-entrant call is a no-op
  CreateStandardContent();
  DefineWorkbench();
  std::vector<std::string> interfaces, defaults, customs;
  if (auto own = GetAddinInterface(); !own.IsEmpty()) interfaces.push_back(own.utf8());
  GetCustomInterfaces(defaults, customs);
  interfaces.insert(interfaces.end(), customs.begin(), customs.end());
  interfaces.insert(interfaces.end(), defaults.begin(), defaults.end());
  std::vector<std::string> unique;
  for (auto& i : interfaces)
    if (std::find(unique.begin(), unique.end(), i) == unique.end()) unique.push_back(i);
  for (auto& i : unique)
    for (auto& addin : TavWorkbenchAddins::Create(i)) {
      addin->CreateCommands();
      addin->CreateToolbars(*this);
    }
}

const TavWorkbenchLayout& OrvECommonWkbAdapter::CreateWorkbench() {
  CreateCommands();
  return layout_;
}

void OrvECommonWkbAdapter::GetCustomInterfaces(std::vector<std::string>& defaultInterfaces,
                                               std::vector<std::string>& /*customInterfaces*/) {
  defaultInterfaces.push_back(TavIWorkbenchAddin::kInterfaceName);
}

void OrvEProcessWkbAdapter::GetCustomInterfaces(std::vector<std::string>& defaultInterfaces,
                                                std::vector<std::string>& customInterfaces) {
  OrvECommonWkbAdapter::GetCustomInterfaces(defaultInterfaces, customInterfaces);
  customInterfaces.push_back("OrvIProcessWorkbenchAddin");
}

TavWorkbenchMenu* OrvECommonWkbAdapter::Menu(const TavUnicodeString& name) {
  for (auto& m : layout_.menus)
    if (m.name == name) return &m;
  return nullptr;
}

HRESULT OrvECommonWkbAdapter::AppendToolbar(const TavUnicodeString& toolbarName, const TavUnicodeString& secondName,
                                            int flag, int position) {
  if (toolbarName.IsEmpty() || layout_.FindToolbar(toolbarName)) return E_FAIL;
  layout_.toolbars.push_back({toolbarName, secondName, flag, position, {}});
  return S_OK;
}

HRESULT OrvECommonWkbAdapter::AppendMenubar(const TavUnicodeString& menuName, const TavUnicodeString& parentMenuName) {
  if (menuName.IsEmpty() || Menu(menuName)) return E_FAIL;
  TavWorkbenchMenu* parent = Menu(parentMenuName);
  if (!parent) {
    layout_.dropped.push_back({menuName, parentMenuName, false});
    return E_FAIL;
  }
  parent->entries.push_back({true, menuName});
  layout_.menus.push_back({menuName, parentMenuName, {}});  // `parent` is not used past this point
  return S_OK;
}

HRESULT OrvECommonWkbAdapter::AppendCmdHdr(const TavUnicodeString& headerIdentifier, const TavUnicodeString& toolbarName,
                                           const TavUnicodeString& menuName, int /*flag*/) {
  if (headerIdentifier.IsEmpty()) return E_FAIL;
  HRESULT hr = S_OK;
  if (!toolbarName.IsEmpty()) {
    auto it = std::find_if(layout_.toolbars.begin(), layout_.toolbars.end(),
                           [&](const TavWorkbenchToolbar& t) { return t.name == toolbarName; });
    if (it != layout_.toolbars.end()) {
      it->headers.push_back(headerIdentifier);
    } else {
      layout_.dropped.push_back({headerIdentifier, toolbarName, true});
      hr = E_FAIL;
    }
  }
  if (!menuName.IsEmpty()) {
    if (auto* m = Menu(menuName)) {
      m->entries.push_back({false, headerIdentifier});
    } else {
      layout_.dropped.push_back({headerIdentifier, menuName, false});
      hr = E_FAIL;
    }
  }
  return hr;
}

// ------------------------------------------------------------------ dictionary
void TavWorkbenchDictionary::Declare(std::string workshop, std::string workbench, std::string factoryInterface) {
  for (auto& e : Dictionary())
    if (e.workshop == workshop && e.workbench == workbench) {
      e.factoryInterface = std::move(factoryInterface);
      return;
    }
  Dictionary().push_back({std::move(workshop), std::move(workbench), std::move(factoryInterface)});
}

std::vector<TavWorkbenchDictionary::Entry> TavWorkbenchDictionary::Workbenches(std::string_view workshop) {
  std::vector<Entry> out;
  for (auto& e : Dictionary())
    if (e.workshop == workshop) out.push_back(e);
  return out;
}

// ------------------------------------------------------------------ transitions
HRESULT OrvEProcessTransition::DoTransition(const TavUnicodeString& /*fromWorkbench*/,
                                            const TavUnicodeString& /*toWorkbench*/) {
  return transitionFlag_ == 1 ? S_OK : S_FALSE;
}

// ------------------------------------------------------------------ unbuilt commands
TavUnavailableCommand::TavUnavailableCommand(std::string className)
    : TavStateCommand(className), className_(std::move(className)) {}

TavUnicodeString TavUnavailableCommand::Title() {
  return TavMsgCatalog::BuildMessage("TavUnavailableCommand", "Title", {}, "Command not available");
}

TavUnicodeString TavUnavailableCommand::Text(const std::string& className) {
  return TavMsgCatalog::BuildMessage("TavUnavailableCommand", "Text", {TavUnicodeString(className)},
                                     "The command /P1 is not available in this build.");
}

void TavUnavailableCommand::BuildGraph() {
  AddTransition(GetInitialState(), nullptr, nullptr, Action(&TavUnavailableCommand::TellUser));
}

bool TavUnavailableCommand::TellUser() {
  TavDlgNotify box(nullptr, "TavUnavailableCommandNotify", TavDlgNotify::Information);
  box.DisplayBox(Title(), Text(className_));
  box.DisplayBlocked();
  return true;
}

void TavDeclareWorkbenchInterfaces() {
  TavInterfaceNames::Declare<TavIWorkbenchConfiguration>();
  TavInterfaceNames::Declare<TavIWSPROCConfiguration>();
  TavInterfaceNames::Declare<TavIWorkbenchAddin>();
  TavInterfaceNames::Declare<TavIGenericFactory>();
  TavInterfaceNames::Declare<TavIMarkerWorkbench>();
  TavInterfaceNames::Declare<TavIWorkbenchInitialization>();
  TavInterfaceNames::Declare<TavIWorkbenchTransition>();
}
