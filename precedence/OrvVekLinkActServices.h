#pragma once
// The static service behind the linking commands: child linking (serial, parallel,
// removal), hub locks and logs of a partially read-only process, and the closure
// of control-flow predecessors.
#include <vector>

#include "TavFlow.h"

class OrvVekLinkActServices {
public:
  using Nodes = std::vector<Ref<TavBaseUnknown>>;
  static constexpr const char* kCatalog = "OrvVekLinkActServices";
  static constexpr const char* kCurrentUser = "CurrentUser";
  // Link types of the child linker.
  enum LinkType { Remove = 0, Serial = 1, Parallel = 2 };

  // Links (or unlinks) the children of each parent. On failure `message` says why and
  // the model is as before the call: every pair is checked before any link is
  // removed, and what a host refuses half-way is rolled back.
  static bool LinkChildren(const Nodes& parents, int linkType, const Ref<TavDocument>& document, TavUnicodeString& message);
  static bool ConnectChildrenSerially(const Nodes& ordered, TavUnicodeString& message);
  static bool ConnectChildrenParallely(const Nodes& ordered, TavUnicodeString& message);
  static void DisconnectChildren(const Nodes& children);
  // Start first, Stop last (made through `parent` when missing), Feeder and Deliver dropped.
  static void RearrangeActivities(const Nodes& children, const Ref<TavISPPChildManagement>& parent, bool lock, Nodes& ordered);
  static bool CheckAndLinkAct(const Ref<TavBaseUnknown>& source, const Ref<TavBaseUnknown>& target, TavUnicodeString& message);
  // Whether every link CheckAndLinkAct would make for the ordered nodes can be made.
  static bool CheckLinks(const Nodes& ordered, int linkType, TavUnicodeString& message);
  // The host's last error for the code as one text; the code itself when the host kept none.
  static TavUnicodeString GetNLSError(HRESULT code, TavUnicodeString& message);

  static HRESULT LockNodes(const Nodes& nodes, const Ref<TavDocument>& document);
  static HRESULT KwLock(const Ref<TavBaseUnknown>& node);
  static bool IsPartialReadOnlyAndPersistCF();
  static bool GoOnAfterDisplayWarning();
  static Nodes GetChildStartStop(const Ref<TavBaseUnknown>& parent);
  static Nodes GetChildStartStopList(const Nodes& parents);
  static HRESULT LockChildStartStopAct(const Nodes& oldPairs, const Nodes& newPairs);

  // Every flow node that reaches `node` through control flow, each once, nearest
  // first. Control nodes are walked through and listed too: a Switch or an OrIn
  // between two activities must not hide a cycle.
  static Nodes GetAllPredecessorsFromControlFlow(const Ref<TavBaseUnknown>& node);

  // Helpers the commands share.
  static TavUnicodeString NodeType(const Ref<TavBaseUnknown>& node);
  // Whether the activity holds physical child activities.
  static bool HoldsPhysicalChildren(const Ref<TavBaseUnknown>& activity);
  // Opens (closes) a log entry on the process of the node; nothing outside a hub.
  static void StartLog(const Ref<TavBaseUnknown>& node, const TavUnicodeString& text);
  static void EndLog(const Ref<TavBaseUnknown>& node);
  static TavUnicodeString Text(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {});
};
