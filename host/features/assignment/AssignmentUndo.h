#pragma once
// Undo records of the assignment feature: behaviour items, behaviours, contexts.
#include "HostAssignment.h"
#include "HostUndo.h"

namespace host {

class BehaviorItemUndo;
class BehaviorUndo;
class ContextUndo;

struct AssignmentUndo {
  // An item of the behaviour's input or output list at `index`: put back (attach) or taken away.
  static std::unique_ptr<UndoAction> Item(HostBehavior& b, const BehaviorItems& list, std::size_t index, bool attach);
  // The resource's behaviour: put back (attach) or taken away.
  static std::unique_ptr<UndoAction> Behavior(HostAssignmentContainer& c, const Ref<HostBehavior>& b, bool attach);
  // A context of an activity: put back (attach) or taken away.
  static std::unique_ptr<UndoAction> Context(HostAssignmentContainer& c, const Ref<TavBaseUnknown>& activity,
                                             const Ref<TavBaseUnknown>& product, bool attach, std::size_t index = 0);

  static bool ApplyItem(BehaviorItemUndo& u, HostDocument& doc, std::string& why);
  static bool ApplyBehavior(BehaviorUndo& u, HostDocument& doc, std::string& why);
  static bool ApplyContext(ContextUndo& u, HostDocument& doc, std::string& why);
};

}  // namespace host
