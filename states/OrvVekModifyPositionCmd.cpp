#include "OrvVekModifyPositionCmd.h"

#include "TavServices.h"
#include "TavStates.h"

namespace {
const TavTrace& Trace() {
  static const TavTrace t("OrvVekModifyPosition", "Traces for module OrvVekModifyPosition");
  return t;
}
constexpr const char* kClass = "OrvVekModifyPositionCmd";
constexpr const char* kCatalog = "OrvVekModifyPositionCmd";

void Box(TavDlgNotify::Kind kind, const char* name, const TavUnicodeString& title, const TavUnicodeString& text) {
  TavDlgNotify box(nullptr, name, kind);
  box.DisplayBox(title, text);
  box.DisplayBlocked();
}
}  // namespace

OrvVekModifyPositionCmd::OrvVekModifyPositionCmd() : TavStateCommand("OrvVekModifyPositionCmd") {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekModifyPositionCmd() { return std::make_unique<OrvVekModifyPositionCmd>(); }

void OrvVekModifyPositionCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  positionAgent_ = std::make_unique<TavPathElementAgent>("SelectPosition");
  positionAgent_->AddElementType(TavIPcsPosition::kInterfaceName);
  auto* select = GetInitialState("SelectPosition");
  select->AddDialogAgent(positionAgent_.get());
  AddTransition(select, nullptr, IsOutputSetCondition(positionAgent_.get()), Action(&OrvVekModifyPositionCmd::ModifyPosition),
                {positionAgent_.get()});
}

bool OrvVekModifyPositionCmd::ModifyPosition() {
  TavTraceScope scope(Trace(), kClass, "ModifyPosition");
  auto position = query<TavIPcsPosition>(positionAgent_->GetValueObject());
  auto product = position ? position->GetProduct() : nullptr;
  auto movable = query<TavIMovable>(product);
  // A product gone from the plant, or one that cannot move, has no current position
  // to store: say so rather than end as if it had worked.
  const bool gone = !product || !TavDocumentOf(product);
  if (!position || gone || !movable || FAILED(position->SetMatrix(movable->GetPosition()))) {
    const TavUnicodeString name = position ? position->GetName() : TavUnicodeString();
    Box(TavDlgNotify::Error, "Error", TavMsgCatalog::BuildMessage(kCatalog, "OrvVekModifyPositionCmd.errorTitle", {}, "Error"),
        gone ? TavMsgCatalog::BuildMessage(kCatalog, "OrvVekModifyPositionCmd.productGone", {name},
                                           "The product of the stored position /P1 is no longer in the plant: the position was not changed.")
             : TavMsgCatalog::BuildMessage(kCatalog, "OrvVekModifyPositionCmd.notMovable", {name},
                                           "The product of the stored position /P1 cannot move: the position was not changed."));
    return true;
  }
  Box(TavDlgNotify::Warning, "Warning", TavMsgCatalog::BuildMessage(kCatalog, "OrvVekModifyPositionCmd.title", {}, "Warning"),
      TavMsgCatalog::BuildMessage(kCatalog, "OrvVekModifyPositionCmd.modifiedPosition", {},
                                  "The stored position now holds the product's current position."));
  return true;
}
