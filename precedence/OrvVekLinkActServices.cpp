#include "OrvVekLinkActServices.h"

#include <cstdint>
#include <cstdio>
#include <unordered_set>

#include "OrvVekCommandServices.h"
#include "OrvVekUtilities.h"
#include "TavDialog.h"
#include "TavServices.h"
#include "TavUndo.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekLinkActServices", "Traces for module OrvVekLinkActServices");
  return t;
}
constexpr const char* kClass = "OrvVekLinkActServices";

TavUnicodeString Hex(HRESULT code) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(code));
  return TavUnicodeString(buf);
}

TavUnicodeString NameOf(const Ref<TavBaseUnknown>& node) { return OrvVekCommandServices::GetDisplayName(node).Strip(); }

// The pairs CheckAndLinkAct links for the ordered nodes; false (with the message)
// when a parallel list does not begin and end with flow nodes.
bool PairsOf(const OrvVekLinkActServices::Nodes& n, int linkType, std::vector<std::pair<Ref<TavBaseUnknown>, Ref<TavBaseUnknown>>>& pairs,
             TavUnicodeString& message) {
  pairs.clear();
  if (linkType == OrvVekLinkActServices::Serial) {
    for (std::size_t i = 1; i < n.size(); ++i) pairs.emplace_back(n[i - 1], n[i]);
    return true;
  }
  if (n.size() < 3) return true;
  if (!query<TavISPPFlowMgt>(n.front()) || !query<TavISPPFlowMgt>(n.back())) {
    message = OrvVekLinkActServices::Text("OrvVekLinkActServices.NoStart.Message",
                                          "The children cannot be linked in parallel: the Start or Stop node is missing.");
    return false;
  }
  for (std::size_t i = 1; i + 1 < n.size(); ++i) {
    pairs.emplace_back(n.front(), n[i]);
    pairs.emplace_back(n[i], n.back());
  }
  return true;
}
}  // namespace

TavUnicodeString OrvVekLinkActServices::Text(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params) {
  return TavMsgCatalog::BuildMessage(kCatalog, key, params, fallback);
}

TavUnicodeString OrvVekLinkActServices::NodeType(const Ref<TavBaseUnknown>& node) {
  auto f = query<TavISPPFlowMgt>(node);
  return f ? f->GetNodeType() : TavUnicodeString();
}

bool OrvVekLinkActServices::HoldsPhysicalChildren(const Ref<TavBaseUnknown>& activity) {
  auto cm = query<TavISPPChildManagement>(activity);
  return cm && !cm->GetChildren("PhysicalActivity").empty();
}

void OrvVekLinkActServices::StartLog(const Ref<TavBaseUnknown>& node, const TavUnicodeString& text) {
  Ref<TavISPPActivityRoot> root;
  if (FAILED(OrvVekCommandServices::GetRootProcess(root, node))) return;
  if (auto log = query<TavISPPLogActivity>(root)) log->StartLogEntry(text);
}

void OrvVekLinkActServices::EndLog(const Ref<TavBaseUnknown>& node) {
  Ref<TavISPPActivityRoot> root;
  if (FAILED(OrvVekCommandServices::GetRootProcess(root, node))) return;
  if (auto log = query<TavISPPLogActivity>(root)) log->EndLogEntry();
}

bool OrvVekLinkActServices::LinkChildren(const Nodes& parents, int linkType, const Ref<TavDocument>& document,
                                         TavUnicodeString& message) {
  TavTraceScope scope(Trace(), kClass, "LinkChildren");
  message = {};
  if (parents.empty()) {
    message = Text("OrvVekLinkActServices.NoActivity.Message", "Select the activities whose children are to be linked.");
    return false;
  }
  const bool hub = IsPartialReadOnlyAndPersistCF();
  // Everything this call changes goes together: a failing parent takes back the
  // parents linked before it too, so the user never meets a half-linked process.
  TavSavepoint mark;
  bool ok = true;
  for (const auto& parent : parents) {
    auto cm = query<TavISPPChildManagement>(parent);
    if (!cm) continue;
    if (!HoldsPhysicalChildren(parent)) {
      message = Text("OrvVekLinkActServices.NoChildren.Message", "/P1 holds no physical activities to link.", {NameOf(parent)});
      continue;
    }
    Nodes children = cm->GetChildren();
    Nodes oldPairs;
    if (hub) {
      Nodes toLock = children;
      toLock.push_back(parent);
      if (FAILED(LockNodes(toLock, document)) && !GoOnAfterDisplayWarning()) {
        message = Text("OrvVekLinkActServices.LockDeclined.Message",
                       "Linking stopped at /P1: its activities are locked by another user.", {NameOf(parent)});
        ok = false;
        break;
      }
      oldPairs = GetChildStartStop(parent);
      StartLog(parent, Text("OrvVekLinkActServices.Log.LinkChildren", "Link the children of /P1", {NameOf(parent)}));
    }
    if (linkType == Serial || linkType == Parallel) {
      Nodes ordered;
      RearrangeActivities(children, cm, hub, ordered);
      // Every pair first: the old links go only when all new ones can be made.
      ok = CheckLinks(ordered, linkType, message);
      if (ok) {
        DisconnectChildren(children);
        ok = linkType == Serial ? ConnectChildrenSerially(ordered, message) : ConnectChildrenParallely(ordered, message);
      }
    } else {
      DisconnectChildren(children);
    }
    if (hub) {
      Nodes newPairs = GetChildStartStop(parent);
      if (newPairs.size() == oldPairs.size()) LockChildStartStopAct(oldPairs, newPairs);
      EndLog(parent);
    }
    if (!ok) break;
  }
  if (!ok) {
    std::string why;
    if (!mark.RollBack(&why) && mark.IsRecording())
      message += TavUnicodeString(" (" + why + ")");
  }
  OrvVekUtilities::RedrawFakeNode(document);
  return ok;
}

bool OrvVekLinkActServices::CheckLinks(const Nodes& ordered, int linkType, TavUnicodeString& message) {
  TavTraceScope scope(Trace(), kClass, "CheckLinks");
  std::vector<std::pair<Ref<TavBaseUnknown>, Ref<TavBaseUnknown>>> pairs;
  if (!PairsOf(ordered, linkType, pairs, message)) return false;
  for (const auto& [from, to] : pairs) {
    if (!from || !to) continue;
    if (TavSPPLinkServices::CanLinkFrom(from) != 0 || TavSPPLinkServices::CanLinkTo(to) != 0) {
      message = Text("OrvVekLinkActServices.CannotLink.Message", "/P1 cannot be linked to /P2.", {NameOf(from), NameOf(to)});
      return false;
    }
    const HRESULT hr = TavSPPLinkServices::IsLinkOkForPrecedence(from, to);
    if (hr < 0) {
      GetNLSError(hr, message);
      return false;
    }
  }
  return true;
}

bool OrvVekLinkActServices::ConnectChildrenSerially(const Nodes& ordered, TavUnicodeString& message) {
  TavTraceScope scope(Trace(), kClass, "ConnectChildrenSerially");
  for (std::size_t i = 1; i < ordered.size(); ++i)
    if (!CheckAndLinkAct(ordered[i - 1], ordered[i], message)) return false;
  return true;
}

bool OrvVekLinkActServices::ConnectChildrenParallely(const Nodes& ordered, TavUnicodeString& message) {
  TavTraceScope scope(Trace(), kClass, "ConnectChildrenParallely");
  std::vector<std::pair<Ref<TavBaseUnknown>, Ref<TavBaseUnknown>>> pairs;
  if (!PairsOf(ordered, Parallel, pairs, message)) return false;
  for (const auto& [from, to] : pairs)
    if (!CheckAndLinkAct(from, to, message)) return false;
  return true;
}

void OrvVekLinkActServices::DisconnectChildren(const Nodes& children) {
  TavTraceScope scope(Trace(), kClass, "DisconnectChildren");
  for (const auto& c : children)
    if (auto f = query<TavISPPFlowMgt>(c)) f->RemoveAllLinks();
}

void OrvVekLinkActServices::RearrangeActivities(const Nodes& children, const Ref<TavISPPChildManagement>& parent, bool lock,
                                                Nodes& ordered) {
  TavTraceScope scope(Trace(), kClass, "RearrangeActivities");
  ordered.clear();
  Ref<TavBaseUnknown> start, stop;
  for (const auto& c : children) {
    const TavUnicodeString type = NodeType(c);
    if (type == "Start") {
      if (!start) start = c;
    } else if (type == "Stop") {
      if (!stop) stop = c;
    } else if (type != "Feeder" && type != "Deliver") {
      ordered.push_back(c);
    }
  }
  auto make = [&](const char* type) -> Ref<TavBaseUnknown> {
    if (!parent) return nullptr;
    auto made = parent->CreateChild(type, type);
    if (made && lock) KwLock(made);
    return made;
  };
  if (!start) start = make("Start");
  if (!stop) stop = make("Stop");
  ordered.insert(ordered.begin(), start);
  ordered.push_back(stop);
}

bool OrvVekLinkActServices::CheckAndLinkAct(const Ref<TavBaseUnknown>& source, const Ref<TavBaseUnknown>& target,
                                            TavUnicodeString& message) {
  TavTraceScope scope(Trace(), kClass, "CheckAndLinkAct");
  if (!source || !target) return true;
  HRESULT hr = TavSPPLinkServices::IsLinkOkForPrecedence(source, target);
  if (hr < 0) {
    GetNLSError(hr, message);
    return false;
  }
  auto flow = query<TavISPPFlowMgt>(source);
  hr = flow ? flow->AddControlFlowLink(target) : E_NOINTERFACE;
  if (hr < 0) {
    GetNLSError(hr, message);
    return false;
  }
  return true;
}

TavUnicodeString OrvVekLinkActServices::GetNLSError(HRESULT code, TavUnicodeString& message) {
  TavTraceScope scope(Trace(), kClass, "GetNLSError");
  if (auto e = TavError::TavGetLastError(code)) {
    message = e->GetNLSMessage();
    if (!e->GetNLSRequest().IsEmpty()) {
      if (!message.EndsWith(".")) message += ".";
      message += " " + e->GetNLSRequest();
    }
  } else {
    message = Text("OrvVekLinkActServices.NoHostError.Message", "The link was refused (result code /P1).", {Hex(code)});
  }
  TavError::TavCleanLastError();
  return message;
}

HRESULT OrvVekLinkActServices::LockNodes(const Nodes& nodes, const Ref<TavDocument>& document) {
  TavTraceScope scope(Trace(), kClass, "LockNodes");
  auto authority = TavModificationAuthorityOf(document);
  if (!authority) return E_FAIL;
  HRESULT result = S_OK;
  for (const auto& n : nodes) {
    if (!n) continue;
    auto id = query<TavIModelIdentity>(n);
    if (!id || FAILED(authority->Lock(n, kCurrentUser, id->GetId()))) result = E_FAIL;
  }
  return result;
}

HRESULT OrvVekLinkActServices::KwLock(const Ref<TavBaseUnknown>& node) {
  TavTraceScope scope(Trace(), kClass, "KwLock");
  auto authority = TavModificationAuthorityOf(TavDocumentOf(node));
  auto id = query<TavIModelIdentity>(node);
  if (!authority || !id) return E_FAIL;
  return authority->Lock(node, kCurrentUser, id->GetId());
}

bool OrvVekLinkActServices::IsPartialReadOnlyAndPersistCF() {
  TavTraceScope scope(Trace(), kClass, "IsPartialReadOnlyAndPersistCF");
  auto editor = TavFrmEditor::GetCurrentEditor();
  auto doc = editor ? editor->GetDocument() : nullptr;
  auto env = doc ? doc->GetDocEnvironment() : nullptr;
  if (!env || !env->IsAKindOf("YorDocEnv")) return false;
  auto authority = TavModificationAuthorityOf(doc);
  return authority && authority->IsPartialReadOnly() && authority->IsControlFlowPersistent();
}

bool OrvVekLinkActServices::GoOnAfterDisplayWarning() {
  TavTraceScope scope(Trace(), kClass, "GoOnAfterDisplayWarning");
  TavDlgNotify box(nullptr, "LockError", TavDlgNotify::Warning);
  box.DisplayBox(Text("OrvVekLinkActServices.LockError.Title", "Lock Error Occured"),
                 Text("OrvVekLinkActServices.LockError.Message", "Do you want to proceed ?"));
  return box.DisplayBlocked() == "YES";
}

OrvVekLinkActServices::Nodes OrvVekLinkActServices::GetChildStartStop(const Ref<TavBaseUnknown>& parent) {
  TavTraceScope scope(Trace(), kClass, "GetChildStartStop");
  Ref<TavBaseUnknown> start, stop;
  if (auto cm = query<TavISPPChildManagement>(parent))
    for (const auto& c : cm->GetChildren()) {
      const TavUnicodeString type = NodeType(c);
      if (!start && type == "Start") start = c;
      if (!stop && type == "Stop") stop = c;
    }
  return {start, stop};
}

OrvVekLinkActServices::Nodes OrvVekLinkActServices::GetChildStartStopList(const Nodes& parents) {
  TavTraceScope scope(Trace(), kClass, "GetChildStartStopList");
  Nodes out;
  for (const auto& p : parents) {
    Nodes pair = GetChildStartStop(p);
    out.insert(out.end(), pair.begin(), pair.end());
  }
  return out;
}

HRESULT OrvVekLinkActServices::LockChildStartStopAct(const Nodes& oldPairs, const Nodes& newPairs) {
  TavTraceScope scope(Trace(), kClass, "LockChildStartStopAct");
  if (oldPairs.size() != newPairs.size()) return E_FAIL;
  HRESULT result = S_OK;
  for (std::size_t i = 0; i < newPairs.size(); ++i)
    if (newPairs[i] && !SameObject(newPairs[i], oldPairs[i]) && FAILED(KwLock(newPairs[i]))) result = E_FAIL;
  return result;
}

OrvVekLinkActServices::Nodes OrvVekLinkActServices::GetAllPredecessorsFromControlFlow(const Ref<TavBaseUnknown>& node) {
  TavTraceScope scope(Trace(), kClass, "GetAllPredecessorsFromControlFlow");
  Nodes out;
  auto flow = query<TavISPPFlowMgt>(node);
  if (!flow) return out;
  // Breadth first, with the result as the queue: no recursion, and the visited set
  // keeps a cycle from being walked twice. TavBaseUnknown is a virtual base, one
  // per object, so its address names the object whatever handle led to it.
  std::unordered_set<const void*> seen;
  auto visit = [&](std::vector<Ref<TavBaseUnknown>>&& previous) {
    for (auto& p : previous)
      if (p && seen.insert(p.get()).second) out.push_back(std::move(p));
  };
  visit(flow->GetPreviousNodes());
  for (std::size_t i = 0; i < out.size(); ++i) {
    // A node that is its own flow node needs no handle of its own (two atomic
    // operations per node); an extension is asked for the usual way.
    if (auto* f = TavCast<TavISPPFlowMgt>(out[i].get()))
      visit(f->GetPreviousNodes());
    else if (auto ext = query<TavISPPFlowMgt>(out[i]))
      visit(ext->GetPreviousNodes());
  }
  return out;
}
