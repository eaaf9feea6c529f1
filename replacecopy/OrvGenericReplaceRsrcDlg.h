#pragma once
// The base of every resource-replacement dialog: the command hands it the first
// resource (and the second when picked in the tree) and reads back the second
// resource and the activities to change. A resource bringing its own replacement
// (OrvIReplaceResource) brings its own dialog of this kind.
#include "TavDialog.h"
#include "TavPPR.h"

class OrvGenericReplaceRsrcDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvGenericReplaceRsrcDlg";
  explicit OrvGenericReplaceRsrcDlg(TavDlgWidget* father, std::string name = "OrvGenericReplaceRsrcDlg",
                                    std::string catalog = kCatalog);
  ~OrvGenericReplaceRsrcDlg() override;

  virtual void SetFirstResource(const Ref<TavIProduct>& first) = 0;
  virtual void SetSecondResource(const Ref<TavIProduct>& second) = 0;
  // The second resource and whether it came from outside the document (a file).
  virtual void GetSecondResource(Ref<TavIProduct>& second, unsigned char& fromOutside) = 0;
  // A new list the caller owns, and whether the first resource's context goes too.
  virtual void GetActivitiesForReplacement(std::vector<Ref<TavISPPActivity>>*& activities,
                                           unsigned char& removeContext) = 0;

  TavDlgPushButton* OKButton() const { return ok_; }
  TavDlgPushButton* CancelButton() const { return cancel_; }

protected:
  TavDlgPushButton *ok_ = nullptr, *cancel_ = nullptr;
};
