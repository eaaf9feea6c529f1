#pragma once
// Lays a PERT chart out again from a picked graph node, with the X and Y spacing
// the user gives.
#include <memory>

#include "OrvVekLayoutPertChartDlg.h"
#include "TavCommand.h"
#include "TavGraph.h"

class OrvVekLayoutPertChartCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvVekLayoutPertChartCmd";
  OrvVekLayoutPertChartCmd();
  ~OrvVekLayoutPertChartCmd() override;
  void BuildGraph() override;

  // The picked node has a flow or precedence to another node; else the user is told
  // and may pick another.
  bool IsValidObjectPicked();
  // Reads X and Y from the dialog (always true).
  bool AreValuesEntered();
  // Lays the chart out, unless both values are below the grid.
  bool InitPositioning();
  void ShowDialog();
  void HideDialog();

  TavPathElementAgent* Agent() const { return agent_.get(); }
  OrvVekLayoutPertChartDlg* Dialog() const { return dialog_.get(); }
  double GetX() const { return x_; }
  double GetY() const { return y_; }

private:
  void Notify(const char* titleKey, const char* titleFallback, const TavUnicodeString& text) const;

  std::unique_ptr<TavPathElementAgent> agent_;
  std::unique_ptr<TavDialogAgent> okAgent_, closeAgent_;
  std::unique_ptr<OrvVekLayoutPertChartDlg> dialog_;
  Ref<TavIGENode> node_;
  double x_ = 0, y_ = 0;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekLayoutPertChartCmd();
