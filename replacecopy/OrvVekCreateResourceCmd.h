#pragma once
// Creates one or more resources under a resource of the resource list: pick the
// target, fill the form, OK. N resources of a quantity N share the form's values.
#include <memory>

#include "OrvVekResourceDlgBox.h"
#include "TavCommand.h"

// What a new resource is given (the form's values, or a batch job's).
struct OrvVekResourceValues {
  TavUnicodeString name, category, type;
  int quantity = 1, mtbf = 0, mttr = 0;
};

class OrvVekCreateResourceCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvVekCreateResourceCmd";

  OrvVekCreateResourceCmd();
  ~OrvVekCreateResourceCmd() override;
  void BuildGraph() override;
  bool Cancel() override;

  virtual bool IsUnderResourceList(TavAcquisitionAgent* agent);
  virtual bool ShowDialog();
  virtual bool HideDialog();
  virtual bool CreateResources();
  virtual bool CancelDlg();
  bool IsFormValid();
  bool IsFormInvalid();
  // Makes `product` a resource with the form's values.
  HRESULT CreateOneResource(const Ref<TavIProduct>& product);
  void ShowErrorDlg(const TavUnicodeString& reason = {});

  // The object can receive new resources: a resource of its document's resource list.
  static bool AcceptsTarget(const Ref<TavBaseUnknown>& candidate);
  // `values.quantity` new resources under `target`, all or none: a failure leaves
  // the model as before (false with the reason). `made` gets the new resources.
  static bool MakeResources(const Ref<TavIProduct>& target, const OrvVekResourceValues& values,
                            std::vector<Ref<TavIProduct>>* made, TavUnicodeString* why);

  // State the tests look at.
  OrvVekResourceDlgBox* Dialog() const { return dialog_.get(); }
  const Ref<TavIProduct>& Target() const { return target_; }
  const std::vector<Ref<TavIProduct>>& Created() const { return created_; }

private:
  OrvVekResourceValues FormValues() const;
  std::unique_ptr<TavPathElementAgent> targetAgent_;
  std::unique_ptr<TavDialogAgent> okAgent_, cancelAgent_;
  std::unique_ptr<OrvVekResourceDlgBox> dialog_;
  Ref<TavIProduct> target_;
  std::vector<Ref<TavIProduct>> created_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekCreateResourceCmd();
