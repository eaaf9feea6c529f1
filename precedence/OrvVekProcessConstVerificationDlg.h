#pragma once
// The process constraint verification dialog: standing on one activity, the viewer
// shows what is built before it (colour 249), beside it (247), at it (246), and
// hides what is built after it. Next and double clicks move along the precedence
// order; the combo shows or hides resources; the check buttons colour the
// unassigned products and keep the view when the dialog closes.
#include <cstdint>

#include "TavDialog.h"
#include "TavPPR.h"

class OrvVekProcessConstVerificationDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekProcessConstVerificationDlg";
  // The palette indexes of the viewer treatment.
  static constexpr int kCurrentColour = 246, kOtherColour = 247, kPreviousColour = 249;
  // Settings repository and keys.
  static constexpr const char* kRepository = "OrvProcessConsVerif";
  static constexpr const char* kComboKey = "OrvPCVCombo";
  static constexpr const char* kColourKey = "OrvPCVUnassignedButton";
  static constexpr const char* k3DKey = "OrvPCV3DButton";

  using List = std::vector<Ref<TavBaseUnknown>>;

  explicit OrvVekProcessConstVerificationDlg(TavDlgWidget* father);
  ~OrvVekProcessConstVerificationDlg() override;
  void Build() override;

  // The picked activity becomes the current one; everything is recomputed.
  void Initialize(const Ref<TavBaseUnknown>& picked);

  void OnClose();
  void OnNext();
  void DoubleClickOnPrevious();
  void DoubleClickOnSuccessors();
  void DoubleClickOnOthers();
  void OnComboSelected();
  void OnCheckButton3D();
  void OnCheckButtonColor();

  // The stored settings; a missing or out-of-range value reads as 0.
  struct Settings {
    int combo = 0;
    bool colour = false, keepView = false;
  };
  static Settings ReadSettings();

  // What the dialog holds, for the command and tests.
  const Ref<TavBaseUnknown>& Current() const { return current_; }
  const List& Previous() const { return previous_; }
  const List& Successors() const { return successors_; }
  const List& Others() const { return others_; }
  const List& CurrentProducts() const { return currentProducts_; }
  const List& PreviousProducts() const { return previousProducts_; }
  const List& OtherProducts() const { return otherProducts_; }
  const List& SuccessorProducts() const { return successorProducts_; }
  bool KeepView() const { return keepView_; }
  bool ProductOutputSupport() const { return productOutputSupport_; }

private:
  // The current activity changes: colours back, lists recomputed, products shown.
  void MoveTo(const Ref<TavBaseUnknown>& activity);
  void DoubleClickOn(TavDlgSelectorList* list, const List& entries);
  void ComputeSets();
  void ShowProducts();
  void FillList(TavDlgSelectorList* list, const List& entries);
  // The products of a set of activities (with their sub-activities).
  List ProductsOf(const List& activities) const;
  void ApplyCombo(int line);
  void WriteSettings();
  void RestoreViewer();
  void Commit();

  // Viewer treatments.
  static void Colour(const List& products, int index);
  static void Show(const List& products, bool shown);
  static void SetColorBack(const List& products);
  void SetAllProductsBack();

  TavDlgEditor* currentEditor_ = nullptr;
  TavDlgPushButton* next_ = nullptr;
  TavDlgSelectorList *previousList_ = nullptr, *successorsList_ = nullptr, *othersList_ = nullptr;
  TavDlgCombo* combo_ = nullptr;
  TavDlgCheckButton *check3D_ = nullptr, *checkColour_ = nullptr;

  List previous_, successors_, others_;
  List allProducts_, successorProducts_, otherProducts_, previousProducts_, currentProducts_, currentActivities_;
  List resources_;
  Ref<TavBaseUnknown> current_, root_;
  Ref<TavDocument> doc_;
  bool keepView_ = false, productOutputSupport_ = false;
};
