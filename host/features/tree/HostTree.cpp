#include "HostTree.h"

#include "PPRTreeWindow.h"

namespace host {

void RegisterTreeHost() {
  // Commands open tree windows on an editor of this session.
  TavNewInventorySpaceWnd::InstallFactory([](const Ref<TavFrmEditor>& editor) -> Ref<TavNewInventorySpaceWnd> {
    return OpenTreeWindow(std::dynamic_pointer_cast<HostEditor>(editor));
  });
}

}  // namespace host
