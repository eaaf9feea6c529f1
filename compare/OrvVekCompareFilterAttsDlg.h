#pragma once
// The report attributes of a comparison: every attribute the roots offer on the left,
// the chosen ones on the right in report order. OK keeps the choice in the
// comparison settings for the root's feature (OrvVekCompareUtilities) and tells the
// results dialog. Each line keeps its attribute (name and kind) beside its text, so
// a prompt holding a bracket text ("Weight (kg)") never saves a wrong name.
#include <functional>
#include <string>
#include <vector>

#include "TavDialog.h"

class OrvVekCompareFilterAttsDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekCompareFilterAttsDlg";
  struct Attribute {
    TavUnicodeString name, prompt;  // the prompt of an own attribute is its name
    bool hub = false;
    bool operator==(const Attribute& o) const { return name == o.name && hub == o.hub; }
  };
  enum class Sort { ABCPrompts, KwHxPrompts, ABCNames, KwHxNames };

  // `offered`: the engine's union list (own, then hub); `feature`: the compared root's.
  OrvVekCompareFilterAttsDlg(TavDlgWidget* father, TavUnicodeString feature, std::vector<Attribute> offered,
                             std::function<void()> onOK = {});

  // The stored choice on the right, the rest of the offer on the left.
  void Build() override;
  const std::vector<Attribute>& Chosen() const { return chosen_; }
  // The left list as shown (own and hub attributes hidden by "CBKw", "CBHx").
  std::vector<Attribute> Shown() const;

  void PushAdd();
  void PushRemove();
  // The selected right line one up (-1), one down (1), to the top or to the bottom.
  void Move(int by);
  void MoveToEnd(bool top);
  void SortLeft(Sort how);
  // Keeps the choice; false with an error window, the settings unchanged, when it
  // cannot be kept.
  bool SaveToSettings();

  static TavUnicodeString Line(const Attribute& a);

private:
  void ShowLists();
  void ShowError(const TavUnicodeString& text);

  TavUnicodeString feature_;
  std::vector<Attribute> offered_, left_, chosen_;
  std::function<void()> onOK_;
  TavDlgMultiList *leftList_ = nullptr, *rightList_ = nullptr;
  TavDlgCheckButton *showOwn_ = nullptr, *showHub_ = nullptr;
};
