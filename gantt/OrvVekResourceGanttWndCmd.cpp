#include "OrvVekResourceGanttWndCmd.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "OrvGanttTimes.h"
#include "OrvMessageDialog.h"
#include "OrvVekServices.h"
#include "TavAssignment.h"
#include "TavDevices.h"
#include "TavGantt.h"
#include "TavServices.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekGanttTrace", "Traces for the Gantt chart commands");
  return t;
}
constexpr const char* kClass = "OrvVekResourceGanttWndCmd";
using Self = OrvVekResourceGanttWndCmd;

TavUnicodeString Msg(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(Self::kCatalog, key, {}, fallback);
}

bool IsActivityPick(const Ref<TavBaseUnknown>& o) { return query<TavISPPActivity>(o) && !query<OrvITask>(o); }

struct BusyCursor {
  BusyCursor() { TavApplicationFrame::SetBusyCursor(true); }
  ~BusyCursor() { TavApplicationFrame::SetBusyCursor(false); }
};
}  // namespace

OrvVekResourceGanttWndCmd::OrvVekResourceGanttWndCmd()
    : TavStateCommand("OrvVekResourceGanttWndCmd"), prompt_(std::getenv(kPromptVariable) != nullptr) {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekResourceGanttWndCmd() {
  return std::make_unique<OrvVekResourceGanttWndCmd>();
}

OrvVekResourceGanttWndCmd::~OrvVekResourceGanttWndCmd() {
  DestroyPrompt();
  StopWatchingWindow();
  shown_.clear();
}

void OrvVekResourceGanttWndCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  agent_ = std::make_unique<TavPathElementAgent>("Root");
  agent_->AddElementType(TavIProduct::kInterfaceName);
  agent_->AddElementType(TavISPPActivity::kInterfaceName);
  agent_->SetFilter([this](TavAcquisitionAgent* a) { return FilterSelection(a); });
  AddCSOClient(agent_.get());
  // A selection taken at the start skips the agent's filter: the transitions test it.
  TavCondition picked = AndCondition(IsOutputSetCondition(agent_.get()), [this] {
    if (FilterSelection(agent_.get())) return true;
    TavApplicationFrame::SetStatusText(agent_->GetFilterMessage());
    agent_->InitializeAcquisition();
    return false;
  });

  auto* state1 = GetInitialState("State1");
  state1->AddDialogAgent(agent_.get());
  state1->SetEntryAction([] {
    TavApplicationFrame::SetStatusText(
        Msg("OrvVekResourceGanttWndCmd.SelectResourceProcess.Message", "Select resources or activities"));
  });
  if (!prompt_) {
    AddTransition(state1, nullptr, picked, Action(&Self::CreateGanttWindow));
    return;
  }
  dialog_ = std::make_unique<OrvMessageDialog>();
  dialog_->Build();
  promptAgent_ = std::make_unique<TavDialogAgent>("PromptOKAgent");
  for (const char* n : {TavDlgNotification::OK, TavDlgNotification::Cancel, TavDlgNotification::Close})
    promptAgent_->AcceptOnNotify(dialog_.get(), n);
  auto* state2 = AddDialogState("State2");
  state2->AddDialogAgent(agent_.get());
  state2->AddDialogAgent(promptAgent_.get());
  AddTransition(state1, state2, picked, Action(&Self::CreateGanttWindow), {agent_.get()});
  AddTransition(state2, state2, picked, Action(&Self::CreateGanttWindow), {agent_.get()});
  AddTransition(state2, nullptr, IsOutputSetCondition(promptAgent_.get()), Action(&Self::CloseMessageWindow));
}

bool OrvVekResourceGanttWndCmd::FilterSelection(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "FilterSelection");
  BusyCursor busy;
  // While a pick is offered the agent holds it as its value; a selection taken at
  // the start is its list.
  const std::vector<TavPathElement> paths =
      agent_->IsValued() ? agent_->GetListOfValues() : std::vector<TavPathElement>{agent_->GetValue()};
  bool activities = false, resources = false, firstNeither = false;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const Ref<TavBaseUnknown> picked = paths[i].GetLeaf();
    if (IsActivityPick(picked)) activities = true;
    else if (OrvVekServices::DetermineItemOrResource(paths[i], nullptr, nullptr) == 2 || GetPickedDevice(picked))
      resources = true;
    else {
      firstNeither = i == 0;
      break;
    }
  }
  if (firstNeither) {
    agent->SetFilterMessage(Msg("OrvVekResourceGanttWndCmd.Filter.Neither", "Pick a resource or an activity"));
    return false;
  }
  if (activities && resources) {
    agent->SetFilterMessage(Msg("OrvVekResourceGanttWndCmd.Filter.Mixed",
                                "Pick resources or activities, not both at once"));
    return false;
  }
  return true;
}

Ref<TavBaseUnknown> OrvVekResourceGanttWndCmd::GetPickedDevice(const Ref<TavBaseUnknown>& object) {
  auto device = query<TavIProduct>(object) ? query<OrvIDeviceManager>(object) : nullptr;
  if (!device) return nullptr;
  std::vector<TavUnicodeString> names;
  std::vector<Ref<TavBaseUnknown>> mechanisms, products;
  if (FAILED(device->GetMechanisms(names, mechanisms, products)) || mechanisms.empty()) return nullptr;
  if (query<TavIProduct>(mechanisms.front())) return mechanisms.front();
  return products.empty() ? nullptr : products.front();
}

void OrvVekResourceGanttWndCmd::GetAllResources(const Ref<TavBaseUnknown>& activity,
                                                std::vector<Ref<TavBaseUnknown>>& list) {
  // Depth first with a stack of its own: a deep plant cannot overflow the call stack.
  std::vector<Ref<TavBaseUnknown>> stack{activity};
  while (!stack.empty()) {
    const Ref<TavBaseUnknown> a = std::move(stack.back());
    stack.pop_back();
    if (auto r = query<TavISPPResourceManagement>(a))
      for (auto& res : r->GetResources())
        if (OrvVekServices::IsResource(res) &&
            std::none_of(list.begin(), list.end(), [&](const Ref<TavBaseUnknown>& x) { return SameObject(x, res); }))
          list.push_back(res);
    auto children = query<TavISPPChildManagement>(a);
    if (!children) continue;
    auto physical = children->GetChildren("PhysicalActivity");
    for (auto it = physical.rbegin(); it != physical.rend(); ++it) stack.push_back(*it);
  }
}

bool OrvVekResourceGanttWndCmd::IsActivityWithoutResource(const Ref<TavBaseUnknown>& activity) {
  std::vector<Ref<TavBaseUnknown>> list;
  GetAllResources(activity, list);
  return list.empty();
}

Ref<TavBaseUnknown> OrvVekResourceGanttWndCmd::RowFor(const Ref<TavBaseUnknown>& picked, TavUnicodeString& title,
                                                      std::string& key) {
  Ref<TavBaseUnknown> device = GetPickedDevice(picked);
  const Ref<TavBaseUnknown> object = device ? device : picked;
  auto keyOf = [](const Ref<TavBaseUnknown>& o) {
    auto id = query<TavIModelIdentity>(o);
    char text[16];
    std::snprintf(text, sizeof text, "%d", id ? id->GetModelNumber() : 0);
    return std::string(text);
  };
  if (auto product = query<TavIProduct>(object)) {
    title = Msg("OrvVekResourceGanttWndCmd.Resource.Title", "Resource Gantt") + ": " + product->GetName();
    key = keyOf(object);
    return shown_.count(key) ? nullptr : object;
  }
  if (auto activity = query<TavISPPActivity>(picked)) {
    title = Msg("OrvVekResourceGanttWndCmd.Process.Title", "Resource Gantt of process") + ": " + activity->GetLabel();
    key = keyOf(picked);
    if (shown_.count(key)) return nullptr;
    Ref<TavBaseUnknown> resource;
    if (auto r = query<TavISPPResourceManagement>(picked))
      for (auto& res : r->GetResources())
        if (OrvVekServices::IsResource(res)) {
          resource = res;
          break;
        }
    return std::make_shared<OrvEResourceGanttActivityObject>(resource, picked, nullptr, 0.0);
  }
  TavDlgNotify box(nullptr, "Error", TavDlgNotify::Error);
  box.DisplayBox(Msg("OrvVekResourceGanttWndCmd.ErrorWnd.Title", "Resource Gantt"),
                 Msg("OrvVekResourceGanttWndCmd.ErrorWnd.Text", "This is neither a resource nor an activity."));
  box.DisplayBlocked();
  return nullptr;
}

bool OrvVekResourceGanttWndCmd::CreateGanttWindow() {
  TavTraceScope scope(Trace(), kClass, "CreateGanttWindow");
  const std::vector<TavPathElement> paths = agent_->GetListOfValues();
  if (dialog_) dialog_->SetVisibility(true);
  const Ref<TavBaseUnknown> root = OrvGanttTimes::CurrentRootProcess();
  if (!OrvGanttTimes::SolveAndRefresh(root)) return true;  // nothing timed to show
  const auto behaviors = OrvVekServices::GetAllBehavior();
  std::vector<Ref<TavBaseUnknown>> roots;
  if (!behaviors.empty()) {
    // Behaviours share one root: one solve times them all.
    const auto first = OrvGanttTimes::RootProcessOf(behaviors.front());
    if (query<OrvITimedActivity>(first)) OrvModelTimeSolver().FullSolve(first);
    for (auto& b : behaviors) {
      auto r = OrvGanttTimes::RootProcessOf(b);
      if (auto adapters = query<OrvIVEKAdapters>(r)) adapters->RefreshAdapters();
      roots.push_back(b);
    }
  }
  roots.push_back(root);

  for (auto& path : paths) {
    TavUnicodeString title;
    std::string key;
    const Ref<TavBaseUnknown> picked = path.GetLeaf();
    Ref<TavBaseUnknown> row = RowFor(picked, title, key);
    if (!row) continue;  // shown already, or nothing to show: no window, no row
    if (!window_) {
      window_ = OrvGanttChartWindows::Create(title, TavFrmEditor::GetCurrentEditor(), {row}, 0, roots, 2, 0);
      if (!window_) continue;
      auto* layout = TavFrmLayoutWindows::Get();
      if (auto current = layout ? layout->GetCurrentWindow() : nullptr) {
        watched_ = current;
        windowCallback_ = current->AddWindowCallback([this](TavFrmWindowEvent e) {
          if (e == TavFrmWindowEvent::Deleted) OnGanttWindCloseNotification();
        });
      }
      shown_[key] = picked;
      continue;
    }
    auto rows = query<OrvIGanttChartRows>(Ref<TavBaseUnknown>(window_));
    if (rows && rows->AddRoot(row, 0, 1) != E_FAIL) shown_[key] = picked;
  }
  return true;
}

bool OrvVekResourceGanttWndCmd::CloseMessageWindow() {
  DestroyPrompt();
  return true;
}

void OrvVekResourceGanttWndCmd::OnGanttWindCloseNotification() {
  TavTraceScope scope(Trace(), kClass, "OnGanttWindCloseNotification");
  StopWatchingWindow();
  window_ = nullptr;
  // The command ends through its prompt, as the user's close would: the engine then
  // ends it once this notice is over. Nothing may touch the command after that.
  if (dialog_ && !IsEnded()) {
    dialog_->Notify(TavDlgNotification::Close);
    return;
  }
  End();
}

void OrvVekResourceGanttWndCmd::StopWatchingWindow() {
  if (watched_ && windowCallback_) watched_->RemoveWindowCallback(windowCallback_);
  windowCallback_ = 0;
  watched_ = nullptr;
}

void OrvVekResourceGanttWndCmd::DestroyPrompt() {
  if (!dialog_) return;
  dialog_->SetVisibility(false);
  if (promptAgent_) promptAgent_->RemoveNotify(dialog_.get());
  dialog_.reset();
}
