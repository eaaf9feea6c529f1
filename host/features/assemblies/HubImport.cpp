#include "HubImport.h"

#include "HostModel.h"
#include "HostProducts.h"
#include "TavHeaderStart.h"
#include "TavModules.h"
#include "TavServices.h"

namespace host {

namespace {

std::vector<std::vector<std::string>>& Imports() {
  static std::vector<std::vector<std::string>> imports;
  return imports;
}

constexpr const char* kHeader = "WexPrcImportMAContextHdr";
constexpr const char* kClass = "WexPrcImportMAContextCmd";

class ImportMAContextCmd final : public TavStateCommand {
public:
  ImportMAContextCmd() : TavStateCommand(kClass) {}
  void BuildGraph() override {
    // The list is this command's from here on.
    std::unique_ptr<TavHeaderArgument> arg = TavTakeHeaderArgument(*this);
    auto* list = dynamic_cast<TavHeaderList<OrvIMfgAssembly>*>(arg.get());
    auto* first = list && !list->items.empty() ? TavCast<HostObject>(list->items.front().get()) : nullptr;
    HostNotifications* notes = first && first->Doc() ? NotificationsOf(*first->Doc()) : nullptr;
    auto* done = GetInitialState("Imported");
    AddTransition(done, nullptr, [] { return true; });
    // The hub keeps the contexts: a plant of the local environment has none to import.
    if (!first || !first->Doc() || !first->Doc()->IsHub()) {
      TavApplicationFrame::SetStatusText("MA context import: only the assemblies of a hub document can be imported");
      return;
    }
    std::vector<std::string> names;
    std::string text;
    if (list)
      for (auto& ma : list->items) {
        names.push_back(ma->GetName().utf8());
        text += (text.empty() ? "" : ", ") + names.back();
      }
    Imports().push_back(names);
    TavApplicationFrame::SetStatusText("MA context imported from the hub: " + text);
    if (notes) notes->Add("MA context imported from the hub: " + text);
  }
};

}  // namespace

const std::vector<std::vector<std::string>>& MAContextImports() { return Imports(); }

void RegisterHubImport() {
  TavModuleRegistry::Get().Register(kTavHostCommandModule, kClass, [] { return std::make_unique<ImportMAContextCmd>(); });
  // The import exists where the hub does: the header is listed once a hub document
  // opens (until the session ends, which clears the list).
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (doc.IsHub() && !TavCommandHeader::GetHeaderFromList(kHeader))
      TavCommandHeader::AddToList(std::make_unique<TavCommandHeader>(kHeader, kTavHostCommandModule, kClass, TavCommandHeader::kAvailable));
  });
}

}  // namespace host
