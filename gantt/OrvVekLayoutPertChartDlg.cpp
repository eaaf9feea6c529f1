#include "OrvVekLayoutPertChartDlg.h"

#include "TavServices.h"

namespace {
TavUnicodeString Msg(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvVekLayoutPertChartDlg::kCatalog, key, {}, fallback);
}
// What the spinners show first: the spacing a chart opened without positions has.
constexpr double kFirstX = 40, kFirstY = 20;
}  // namespace

OrvVekLayoutPertChartDlg::OrvVekLayoutPertChartDlg(TavDlgWidget* father)
    : TavDlgDialog(father, "OrvVekLayoutPertChartDlg", 0, kCatalog) {
  SetTitle(Msg("LayoutPertChart.Message", "Layout PERT Chart"));
}

void OrvVekLayoutPertChartDlg::Build() {
  Add<TavDlgLabel>("TitleLabel");                 // row 0
  Add<TavDlgWidget>("Separator", "separator");    // row 1
  Add<TavDlgLabel>("XValLabel");                  // row 2
  x_ = Add<TavDlgSpinner>("XValSpinner");
  Add<TavDlgLabel>("YValLabel");                  // row 3
  y_ = Add<TavDlgSpinner>("YValSpinner");
  for (TavDlgSpinner* s : {x_, y_}) s->SetRange(kMin, kMax, kStep);
  x_->SetValue(kFirstX);
  y_->SetValue(kFirstY);
  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
}

double OrvVekLayoutPertChartDlg::GetXVal() const { return x_ ? x_->GetValue() : 0; }
double OrvVekLayoutPertChartDlg::GetYVal() const { return y_ ? y_->GetValue() : 0; }
