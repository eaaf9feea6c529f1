#pragma once
// Replaces a product instance under the top product node by the product of a
// product document, after listing the manufacturing components that depend on it or
// on one of its descendants. The dialog stays open: pick another product, Apply to
// replace and go on, OK to replace and leave.
#include <memory>
#include <string>
#include <vector>

#include "OrvVekReplaceProductDlg.h"
#include "TavCommand.h"

class OrvVekReplaceProductCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvVekReplaceProductCmd";
  // The name of the product structure's top node; only its children are replaced.
  static constexpr const char* kTopNode = "Item.1";

  OrvVekReplaceProductCmd();
  ~OrvVekReplaceProductCmd() override;
  void BuildGraph() override;
  void InitializeAgents();

  virtual bool OnProductSelectedFirstState();
  virtual bool OnOk_ReplaceProduct();
  virtual bool OnApply();
  virtual bool OnCancel();
  bool IsValidFirstProduct(TavAcquisitionAgent* agent);
  static bool IsProductUnderTopProductNode(const Ref<TavIProduct>& product);
  void CleanFirstSelectedProduct();
  // The objects pointing at the product, last to first, that are components.
  static void GetImpactedComponents(const Ref<TavBaseUnknown>& product, std::vector<Ref<TavBaseUnknown>>& components);
  static bool IsA_WexComponent(const Ref<TavBaseUnknown>& object);

  // The pick's test without a pick (batch): false with the reason.
  static bool Accepts(const Ref<TavBaseUnknown>& candidate, TavUnicodeString* why = nullptr);
  // The dialog's list for a product, as OnProductSelectedFirstState fills it.
  static void ListImpacted(OrvVekReplaceProductDlg& dialog, const Ref<TavIProduct>& product);
  // The replacement through the products collection holding the product, then the
  // model's TavModify. E_FAIL with the reason (naming the file), nothing changed.
  static HRESULT Replace(const Ref<TavIProduct>& product, const TavUnicodeString& path, std::string& error);
  // The same for the product the dialog lists: its lines and its name follow the new name.
  static HRESULT ReplaceListed(OrvVekReplaceProductDlg& dialog, const Ref<TavIProduct>& product, const TavUnicodeString& path,
                               std::string& error);

  // State the tests look at.
  OrvVekReplaceProductDlg* Dialog() const { return dialog_.get(); }
  const Ref<TavIProduct>& FirstProduct() const { return first_; }

private:
  // The replacement of OK and Apply; false (an error box shown, nothing changed) when it failed.
  bool ReplaceChosen();

  std::unique_ptr<TavPathElementAgent> firstAgent_;
  std::unique_ptr<TavDialogAgent> okAgent_, applyAgent_, cancelAgent_;
  std::unique_ptr<OrvVekReplaceProductDlg> dialog_;
  Ref<TavIProduct> first_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekReplaceProductCmd();
