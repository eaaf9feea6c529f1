#pragma once
// The spacing of a PERT chart layout: X (between columns) and Y (between rows).
#include "TavDialog.h"

class OrvVekLayoutPertChartDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekLayoutPertChartDlg";
  // The spinners' bounds and step.
  static constexpr double kMin = -10000, kMax = 10000, kStep = 10;
  explicit OrvVekLayoutPertChartDlg(TavDlgWidget* father = nullptr);
  // Title, separator and the two labelled spinners, in grid order; OK and Cancel.
  void Build() override;

  double GetXVal() const;
  double GetYVal() const;
  TavDlgPushButton* OKButton() const { return ok_; }

private:
  TavDlgSpinner *x_ = nullptr, *y_ = nullptr;
  TavDlgPushButton* ok_ = nullptr;
};
