#include "OrvMASelectContentCmd.h"

#include <algorithm>


OrvMASelectContentCmd::OrvMASelectContentCmd() : TavStateCommand("OrvMASelectContentCmd") {}

std::unique_ptr<TavStateCommand> fctCreateOrvMASelectContentCmd() { return std::make_unique<OrvMASelectContentCmd>(); }

void OrvMASelectContentCmd::BuildGraph() {
  element_ = std::make_unique<TavPathElementAgent>("Element");
  element_->AddElementType(OrvIMfgAssembly::kInterfaceName);
  auto* initial = GetInitialState("initialState");
  initial->AddDialogAgent(element_.get());
  // The command ends with the pick: the selection it made stays for the next command.
  AddTransition(initial, nullptr, IsOutputSetCondition(element_.get()), Action(&OrvMASelectContentCmd::SelectContent),
                {element_.get()});
}

TavPathElement OrvMASelectContentCmd::PathOf(const Ref<TavBaseUnknown>& object) {
  auto product = query<TavIProduct>(object);
  if (!product) return TavPathElement({object});
  std::vector<Ref<TavBaseUnknown>> chain;
  for (auto p = product; p; p = p->GetFatherProduct()) chain.push_back(p);
  std::reverse(chain.begin(), chain.end());
  return TavPathElement(std::move(chain));
}

bool OrvMASelectContentCmd::SelectContent() {
  auto ma = query<OrvIMfgAssembly>(element_->GetValueObject());
  auto editor = TavFrmEditor::GetCurrentEditor();
  if (!ma || !editor) return true;
  std::vector<Ref<TavBaseUnknown>> parts;
  ma->GetParts(parts);
  auto& cso = editor->GetCSO();
  cso.Empty();
  for (const auto& part : parts) cso.AddElement(PathOf(part));
  return true;
}
