#pragma once
// Undo records of the comparison feature: fasteners, their relations and names.
#include "HostCompare.h"
#include "HostUndo.h"

namespace host {

class FastenerUndo;
class FastenerRelationUndo;
class FastenerNameUndo;

struct CompareUndo {
  // A fastener of the container: put back (attach) or taken away.
  static std::unique_ptr<UndoAction> Fastener(HostFastenerContainer& c, const Ref<HostFastener>& f, bool attach);
  // The relation of a fastener to an object: put back (attach) or taken away.
  static std::unique_ptr<UndoAction> Related(HostFastenerContainer& c, const Ref<HostFastener>& f, const Ref<TavBaseUnknown>& o,
                                             bool attach);

  // The relation of a fastener to an object, ended at these places of the
  // container's two lists: put back there.
  static std::unique_ptr<UndoAction> Unrelated(HostFastenerContainer& c, const Ref<HostFastener>& f,
                                               const Ref<TavBaseUnknown>& o, std::size_t byObject, std::size_t related);

  static bool ApplyFastener(FastenerUndo& u, HostDocument& doc, std::string& why);
  static bool ApplyRelation(FastenerRelationUndo& u, HostDocument& doc, std::string& why);
  static bool ApplyName(FastenerNameUndo& u, HostDocument& doc, std::string& why);
};

}  // namespace host
