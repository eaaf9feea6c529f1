#pragma once
// Comparison of two versions of a process: gathering, pairing by compare
// conditions, Added/Removed/Modified lists and modification codes. The results
// dialog builds on this class; the comparison itself needs no widget.
#include <array>
#include <functional>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "OrvVekCompareDlgNavigateObject.h"
#include "TavCompare.h"
#include "TavYor.h"

class TavDlgDialog;
class TavDlgFile;
class TavDlgLabel;
class TavDlgMultiList;
class TavDlgNavigBox;
class TavDlgNotify;
class OrvVekCompareFilterAttsDlg;

using CompareList = std::vector<Ref<TavBaseUnknown>>;

// A hash dictionary that walks its entries in insertion order, so that the same two
// plants always pair, add and remove in the same order. Entries live in one vector
// (keys, values and hashes side by side) behind an open-addressing index; removal
// marks the entry dead and leaves its slot as a tombstone. The dictionaries are
// filled once and emptied as matching consumes them, so the dead are never compacted.
template <class V>
class OrderedDict {
public:
  static std::size_t Hash(const TavUnicodeString& k) { return std::hash<std::string_view>{}(k.utf8()); }

  void Clear() {
    entries_.clear();
    slots_.clear();
  }
  void Reserve(std::size_t n) {
    entries_.reserve(n);
    if (SlotsFor(n) > slots_.size()) Rehash(SlotsFor(n));
  }
  bool Contains(const TavUnicodeString& k) const { return Index(k, Hash(k)) != kNone; }
  // False, and nothing changes (the value is not moved from), when the key is taken.
  bool TryInsert(const TavUnicodeString& k, V&& v) {
    const std::size_t h = Hash(k);
    if (Index(k, h) != kNone) return false;
    if (SlotsFor(entries_.size() + 1) > slots_.size()) Rehash(SlotsFor(entries_.size() + 1) * 2);
    entries_.push_back({k, std::move(v), h, true});
    Place(static_cast<std::uint32_t>(entries_.size() - 1));
    return true;
  }
  void Insert(const TavUnicodeString& k, V v) { TryInsert(k, std::move(v)); }
  const V* Find(const TavUnicodeString& k) const {
    const std::uint32_t i = Index(k, Hash(k));
    return i == kNone ? nullptr : &entries_[i].value;
  }
  V* Find(const TavUnicodeString& k) {
    const std::uint32_t i = Index(k, Hash(k));
    return i == kNone ? nullptr : &entries_[i].value;
  }
  void Remove(const TavUnicodeString& k) {
    const std::uint32_t i = Index(k, Hash(k));
    if (i == kNone) return;
    // The value stays until Clear: releasing it here would touch its object again.
    entries_[i].alive = false;
  }
  // Walks live entries in insertion order, the values open to change (matching
  // moves them out); entries removed during the walk are skipped.
  template <class F>
  void ForEach(F&& f) {
    for (std::size_t i = 0; i < entries_.size(); ++i)
      if (entries_[i].alive) f(entries_[i].key, entries_[i].value);
  }

private:
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
  struct Entry {
    TavUnicodeString key;
    V value;
    std::size_t hash;
    bool alive;
  };
  // At most half the slots in use.
  static std::size_t SlotsFor(std::size_t n) {
    std::size_t c = 16;
    while (c < 2 * n) c *= 2;
    return c;
  }
  std::uint32_t Index(const TavUnicodeString& k, std::size_t h) const {
    if (slots_.empty()) return kNone;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
      const std::uint32_t s = slots_[i];
      if (s == kNone) return kNone;
      const Entry& e = entries_[s];
      if (e.hash == h && e.alive && e.key == k) return s;
    }
  }
  void Place(std::uint32_t entry) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = entries_[entry].hash & mask;
    while (slots_[i] != kNone) i = (i + 1) & mask;
    slots_[i] = entry;
  }
  void Rehash(std::size_t slots) {
    slots_.assign(slots, kNone);
    for (std::uint32_t e = 0; e < entries_.size(); ++e)
      if (entries_[e].alive) Place(e);
  }

  std::vector<Entry> entries_;
  std::vector<std::uint32_t> slots_;
};

// One side's key dictionaries: 0 maps the primary key to the object, j >= 1 maps
// the primary key to the text of key j + 1.
struct CompareStorage {
  std::array<OrderedDict<Ref<TavBaseUnknown>>, 2> primary;
  std::array<std::vector<OrderedDict<TavUnicodeString>>, 2> further;
};

struct CompareResults {
  CompareList matchedOriginal, matchedModified;  // parallel
  CompareList added, removed;
  CompareList modifiedOriginal, modifiedModified;  // parallel with codes
  std::vector<int> codes;
  void Clear() { *this = CompareResults(); }
};

class OrvVekCompareDlgBase {
public:
  enum ObjectType {
    Activities = 0,
    Products = 1,
    Resources = 2,
    ManufacturedAssemblies = 3,
    Fasteners = 4,
    NeighbourActivities = 5,
  };
  enum FilterType {
    SelectedAttributes = 1,
    AllAttributes = 2,
    NoAttributes = 4,
    AssignedItems = 8,
    AssignedResources = 16,
    Father = 32,
    Children = 64,
    Sequence = 128,
  };
  enum ModifyType {
    ModAttributes = 1,
    ModItems = 2,
    ModResources = 4,
    ModFather = 8,
    ModChildren = 16,
    ModSequence = 32,
    ModFasteners = 64,
  };
  struct Warning {
    int errorType;
    TavUnicodeString title, text;
  };

  OrvVekCompareDlgBase();
  virtual ~OrvVekCompareDlgBase();
  OrvVekCompareDlgBase(const OrvVekCompareDlgBase&) = delete;
  OrvVekCompareDlgBase& operator=(const OrvVekCompareDlgBase&) = delete;

  // In the order the compare tool calls them.
  void SetHxMode(bool on) { hxMode_ = on; }
  void SetType(int kind) { type_ = kind; }
  void SetMALists(CompareList original, CompareList modified) {
    maLists_[0] = std::move(original);
    maLists_[1] = std::move(modified);
  }
  void Initialize(const Ref<TavBaseUnknown>& originalRoot, const Ref<TavBaseUnknown>& modifiedRoot,
                  const Ref<TavIYorAdapter>& originalAdapter, const Ref<TavIYorAdapter>& modifiedAdapter,
                  const Ref<TavDocument>& originalDocument, const Ref<TavDocument>& modifiedDocument);
  // 0 when the roots can be compared.
  int CheckComparability();
  void GetAttributeList(std::vector<TavUnicodeString>& ownNames, std::vector<TavUnicodeString>& hubPrompts,
                        std::vector<TavUnicodeString>& hubNames);
  void SetSummaryPage(bool on) { summaryPage_ = on; }
  void SetDisplayAllAtts(bool on) { displayAllAtts_ = on; }
  void StartComparison(const std::vector<int>& attributeIndices, int filterMask);

  // Results.
  int GetType() const { return type_; }
  const CompareResults& Results(int kind) const { return results_[static_cast<std::size_t>(kind)]; }
  const TavUnicodeString& ProjectName(int side) const { return projectNames_[side]; }
  const std::vector<TavUnicodeString>& CompareConditions(int kind) const { return conditions_[static_cast<std::size_t>(kind)]; }
  const std::vector<Warning>& Warnings() const { return warnings_; }
  int FilterMask() const { return filter_; }
  const std::vector<TavUnicodeString>& SelectedOwnAttributes() const { return selectedOwn_; }
  const std::vector<TavUnicodeString>& SelectedHubAttributes() const { return selectedHub_; }
  bool SummaryPage() const { return summaryPage_; }
  bool DisplayAllAtts() const { return displayAllAtts_; }

  // Typed hub values compare by their texts: integers and booleans "%d", reals "%g".
  static TavUnicodeString VariantText(const TavValue& v);

  // The graphical tree of each side (0 original, 1 modified): the compared structure
  // below the root, a node per object with the icon of its change; the two nodes of a
  // modified pair show the same icon. Null until built.
  void buildGraphTree();
  const OrvVekCompareDlgNavigateObject* GraphTree(int side) const { return graphTrees_[static_cast<std::size_t>(side)].get(); }

  // The Modified list of a kind: its columns (title key, and the code bit a mark
  // column shows; 0 for the label column) and one row of a pair: the label, then per
  // mark column `mark` ("XXX") when the code has the bit, else a single blank.
  struct ModifiedColumn {
    const char* key;
    int bit;
  };
  static const std::vector<ModifiedColumn>& ModifiedColumns(int kind);
  static std::vector<TavUnicodeString> ModifiedRow(int kind, const TavUnicodeString& label, int code, const TavUnicodeString& mark);

  // ---- The results dialog (OrvVekCompareResultsDlg.cpp). "First" is the modified
  // root, "Second" the original one.
  // Null until the results are shown.
  TavDlgDialog* GetDialog() const { return dialog_.get(); }
  // Fills the header, the three lists, the summary page when asked for and the trees.
  void UpdateDialog();
  void UpdateSummaryPage();
  // The attribute lines of an Added or Removed object (no partner), or of a modified
  // pair (object original, partner modified); none unless attributes were compared.
  void UpdateAttributeDialog(TavDlgMultiList* list, const Ref<TavBaseUnknown>& object, const Ref<TavBaseUnknown>& partner);
  void OnSelectAdded() { OnSelect(0); }
  void OnSelectRemoved() { OnSelect(1); }
  void OnSelectModified() { OnSelect(2); }
  // Shows the object of the selected line of a list (0 Added, 1 Removed, 2 Modified:
  // the modified object) in its document's window: highlighted, the viewers centred.
  void OnDoubleClick(int list);
  // Hub mode: the change-order note dialog of the modified root's record, else closes.
  void OnOK();
  void OnCancel();
  // Unchanged values of the summary page (and the report) as the "Dots" text.
  void OnToggleValue();
  bool IsValueToggleOn() const { return valueToggle_; }
  // The report attribute selection; its OK refreshes the summary page.
  void OnSelectAtts();
  void OnCompareFilterAttsDlgOK();
  OrvVekCompareFilterAttsDlg* GetFilterAttsDialog() const { return attsDialog_.get(); }
  // The summary page's last total (Added + Removed + Modified); 0 before it was filled.
  int SummaryTotal() const { return summaryTotal_; }
  // A root's path (0 original, 1 modified): the top list name, then the display names
  // from the top down to the root, joined by the "Separator" text.
  TavUnicodeString RootPath(int side) const;
  // The compared root's feature: its late type, else "FeatureNameNotAvailable".
  TavUnicodeString FeatureName() const;
  // The report attributes: those given by SetReportAttributes, else those stored for
  // the feature. Own names, hub names; false when the settings cannot be read.
  bool ReportAttributes(std::vector<TavUnicodeString>& own, std::vector<TavUnicodeString>& hub) const;
  // Report attributes chosen for this comparison alone (batch), not the stored ones.
  void SetReportAttributes(std::vector<TavUnicodeString> own, std::vector<TavUnicodeString> hub) {
    reportOverride_ = true;
    reportOwn_ = std::move(own);
    reportHub_ = std::move(hub);
  }
  // An object's label: its "Label" value, else its display name. `co`: the object's
  // comparison interface when the caller holds it already.
  static TavUnicodeString LabelOf(const Ref<TavBaseUnknown>& o, const OrvICompareObjects* co = nullptr);
  // ---- The XML report (OrvVekCompareXMLReport.cpp).
  enum XMLErrorType { XMLUnreadable = 2, XMLNoFile = 4, XMLWriteFailed = 8 };
  // Appends `text` to the report as ISO-8859-1 (what that cannot hold as character
  // references); no file (null): bit 4.
  static void Write(std::string* file, const TavUnicodeString& text, int& errors);
  // The whole report of the compared kind into `file`, as the export writes it; the
  // XMLErrorType bits met. Names and values are escaped ("<", "&", '"'), so that
  // every report is well-formed. Nothing at all when the settings cannot be read.
  void WriteToXML(std::string* file, int& errors);
  // "ExportToXMLPB": the file box (save mode, one filter); its OK and Cancel.
  void OnExportToXML();
  void OnExportToXMLOk();
  void OnExportToXMLCancel();
  // Writes the report to `path` through the file writer, after asking whether to
  // replace a file that exists (no: nothing written). A failure shows one warning
  // naming the file and the reason, and the previous file stays. False when
  // nothing was written.
  bool CreateXMLFile(const TavUnicodeString& path);
  // The same without a question (batch); false with `error` set.
  bool ExportXML(const std::string& path, std::string* error);
  // What the export does with the file box's selection: "" for a folder (a name
  // ending in a path separator), else the name with ".xml" unless it ends in it.
  static TavUnicodeString XMLFileName(const TavUnicodeString& selection);

  // Whether the dialog was closed (Cancel, or OK with its change-order note done):
  // the compare tool ends on the notification that closed it.
  bool IsClosed() const { return closed_; }
  // Told of each dialog the results dialog opens whose OK or Cancel may close it
  // (the change-order dialogs), so that the compare tool hears it.
  void SetOnDialogOpened(std::function<void(TavDlgDialog*)> f) { onDialog_ = std::move(f); }

protected:
  // Fills and shows the results dialog, no smaller than 600 x 600.
  virtual void ShowResults();
  // Shows one warning in the shared notification window.
  virtual void ShowWarning(int errorType, const TavUnicodeString& title, const TavUnicodeString& text);

private:
  bool OwnMatching(int kind) const { return !hxMode_ || settings_.ownMatching[static_cast<std::size_t>(kind == NeighbourActivities ? 0 : kind)]; }
  int KeyCount(int kind) const;
  void Warn(int errorType, const TavUnicodeString& text);
  void WarnMismatch(const TavUnicodeString& name, const TavUnicodeString& original, const TavUnicodeString& modified);
  int CheckHubValues(int kind);
  int CheckKwValuesForComp(int kind);
  void LoadSideConditions();
  CompareList ChildrenOf(const Ref<TavBaseUnknown>& o, int kind) const;
  CompareList FillList(const Ref<TavBaseUnknown>& root, int kind) const;
  void BuildDictionaries(CompareList list, int side, int kind, CompareStorage& storage, bool warn);
  static void CheckForAddOrRemove(CompareStorage& storage, CompareResults& results);
  void CreateLists();
  bool ListsAreEqual(const CompareList* l1, const CompareList* l2, int kind, CompareResults* out = nullptr);
  bool CheckAttributes(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b, int filter);
  bool CheckItems(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b);
  bool CheckResources(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b);
  Ref<TavBaseUnknown> FatherOf(const Ref<TavBaseUnknown>& o, int kind, int side) const;
  bool CheckFather(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b, int kind);
  bool CheckChildren(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b, int kind);
  bool CheckSequence(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b);
  bool CompareFasteners(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b, bool coordinates, int filter);
  bool CheckFasteners(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b);
  void CheckForModifiedObj();
  void StartChecks();

  bool hxMode_ = false;
  int type_ = Activities;
  bool summaryPage_ = false, displayAllAtts_ = false;
  std::array<Ref<TavBaseUnknown>, 2> roots_;
  std::array<Ref<TavDocument>, 2> docs_;
  std::array<Ref<TavIYorAdapter>, 2> adapters_;
  std::array<TavUnicodeString, 2> projectNames_;
  std::array<Ref<OrvIBIWFeaturePartRelations>, 2> fastenerRelations_;
  std::array<CompareList, 2> maLists_;
  OrvIDSICompareToolSettingAtt settings_;
  std::array<std::vector<OrvIDSICompareToolSettingAtt::KeyPair>, 6> hubKeys_;
  std::array<std::vector<TavUnicodeString>, 6> conditions_;
  std::array<CompareStorage, 6> storage_;
  std::array<CompareResults, 6> results_;
  CompareResults fastenerResults_;
  // 1-based positions in the matched lists, for the father and children checks.
  std::array<std::unordered_map<const TavBaseUnknown*, std::size_t>, 2> matchedIndex_;
  std::array<std::unordered_map<const TavBaseUnknown*, Ref<TavBaseUnknown>>, 2> maFathers_;
  int filter_ = 0;
  std::vector<TavUnicodeString> selectedOwn_, selectedHub_;
  std::vector<Warning> warnings_;
  std::unique_ptr<TavDlgNotify> warningWindow_;
  // Per tree, the icon of each changed object: one store per tree, since model
  // numbers repeat across documents.
  std::array<std::unordered_map<const TavBaseUnknown*, int>, 2> changedIcons_;
  std::array<Ref<OrvVekCompareDlgNavigateObject>, 2> graphTrees_;
  // The dialog half.
  void BuildDialog();
  void FillHeader();
  void OnSelect(int list);
  void FillList(TavDlgMultiList* list, const CompareList& objects);
  void FillModifiedList();
  void FillTrees();
  void SummaryRows(TavDlgMultiList* list, const CompareList& objects, const std::vector<TavUnicodeString>& own,
                   const std::vector<TavUnicodeString>& hub, int side);
  void UpdateHxAttributeDialog(TavDlgMultiList* list, const Ref<TavBaseUnknown>& object, const Ref<TavBaseUnknown>& partner);
  void Close();
  std::unique_ptr<TavDlgDialog> dialog_;
  std::unique_ptr<OrvVekCompareFilterAttsDlg> attsDialog_;
  std::unique_ptr<TavDlgDialog> changeOrderDialog_;
  // The export's file box; a box closed by its own answer waits here until its
  // notification is over.
  std::unique_ptr<TavDlgFile> fileBox_, closedBox_;
  bool valueToggle_ = false;
  bool reportOverride_ = false;
  std::vector<TavUnicodeString> reportOwn_, reportHub_;
  int summaryTotal_ = 0;
  bool closed_ = false;
  std::function<void(TavDlgDialog*)> onDialog_;
  void storeChangedObjectInGraphTreeList(int side, const Ref<TavBaseUnknown>& o, int icon);
  int ChangedIcon(int side, const Ref<TavBaseUnknown>& o) const;
  void copyOrgFastenerToGraphTree(int side, const Ref<TavBaseUnknown>& product, OrvVekCompareDlgNavigateObject& node) const;
  void setAccordingIconOnFastener(int side, const Ref<TavBaseUnknown>& fastener, OrvVekCompareDlgNavigateObject& folder) const;
  Ref<OrvVekCompareDlgNavigateObject> copyOrgStructureToGraphTree(
      int side, std::unordered_map<const TavBaseUnknown*, OrvVekCompareDlgNavigateObject*>& modified) const;
};
