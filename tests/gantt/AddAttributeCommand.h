#pragma once
// The attribute-column command driven through the host's engine on a small plant,
// with a settings folder per test, a recording Gantt window as the current window
// and activity types whose attribute keys the test chooses.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "ConfigFolder.h"
#include "HostEngine.h"
#include "OrvGanttAddAttributeCmd.h"
#include "TavActivityLib.h"

namespace gantt_test {
namespace fs = std::filesystem;
using Names = std::vector<TavUnicodeString>;
inline Names N(std::initializer_list<const char*> names) { return Names(names.begin(), names.end()); }

struct RecordingGanttWindow : OrvGanttChartWindow, OrvIGanttAddRemoveColumn {
  std::vector<std::string> calls;
  Names columns;
  static std::string Join(const Names& names) {
    std::string s;
    for (const auto& n : names) s += (s.empty() ? "" : ",") + n.utf8();
    return s;
  }
  TavUnicodeString GetBaseName() const override { return "Gantt Chart.1"; }
  bool IsDeleted() const override { return false; }
  int AddWindowCallback(Callback) override { return 0; }
  void RemoveWindowCallback(int) override {}
  Ref<TavBaseUnknown> GetRoot() const override { return nullptr; }
  void UpdateGanttTable() override { calls.push_back("update"); }
  HRESULT AddColumns(const Names& add) override {
    calls.push_back("add " + Join(add));
    for (const auto& a : add)
      if (std::find(columns.begin(), columns.end(), a) == columns.end()) columns.push_back(a);
    return S_OK;
  }
  HRESULT RemoveColumns(const Names& remove) override {
    calls.push_back("remove " + Join(remove));
    std::erase_if(columns, [&](const auto& c) { return std::find(remove.begin(), remove.end(), c) != remove.end(); });
    return S_OK;
  }
  Names GetAttributeColumns() const override { return columns; }
};

struct OneWindowLayout : TavFrmLayoutWindows {
  Ref<TavFrmWindow> current;
  OneWindowLayout() { Install(this); }
  ~OneWindowLayout() override { Install(nullptr); }
  Ref<TavFrmWindow> GetCurrentWindow() const override { return current; }
  std::vector<Ref<TavFrmWindow>> GetWindows() const override { return {current}; }
};

// Keys as a type declares them (TavIActivityTypeAttributes) and as its
// specification lists them; as an activity's own attributes too.
struct Keyed : TavIActivityType, TavIActivityTypeAttributes, TavISPPActivity, TavISpecAttrAccess {
  std::string type;
  Names declared, listed;
  Keyed(std::string t, Names d, Names l) : type(std::move(t)), declared(std::move(d)), listed(std::move(l)) {}
  TavUnicodeString GetName() const override { return type; }
  TavUnicodeString GetKind() const override { return "Activity"; }
  Ref<TavIActivityType> GetSuperType() const override { return nullptr; }
  Ref<TavLibraryDocument> GetLibraryDocument() const override { return nullptr; }
  TavUnicodeString GetIconName() const override { return {}; }
  Names GetSubActivityTypes() const override { return {}; }
  Names GetAttributeKeys() const override { return declared; }
  Names ListAttributeKeys() const override { return listed; }
  HRESULT GetBooleanAttribute(const TavUnicodeString&, bool&) const override { return E_FAIL; }
  TavUnicodeString GetLabel() const override { return "Loose"; }
  void SetLabel(const TavUnicodeString&) override {}
  TavUnicodeString GetDescription() const override { return {}; }
  void SetDescription(const TavUnicodeString&) override {}
  double GetTime() const override { return 0; }
  void SetTime(double) override {}
  TavUnicodeString GetTypeName() const override { return type; }
  bool IsOfType(const TavUnicodeString& t) const override { return t == type; }
  Ref<TavBaseUnknown> GetFather() const override { return nullptr; }
};

// The host's type cache with the test's types in front.
struct KeyedTypes : OrvVekPlantypeCache {
  OrvVekPlantypeCache* host = GetInstance();
  std::map<std::string, Ref<TavIActivityType>> types;
  KeyedTypes() { Install(this); }
  ~KeyedTypes() override { Install(host); }
  HRESULT BitmapName(const TavUnicodeString& t, TavUnicodeString& b) const override { return host->BitmapName(t, b); }
  Ref<TavIActivityType> FindType(const TavUnicodeString& name) const override {
    auto it = types.find(name.utf8());
    return it != types.end() ? it->second : host->FindType(name);
  }
};

struct Parameters : TavIPrdProperties {
  struct Parm : TavICkeParm {
    explicit Parm(TavUnicodeString n) : name(std::move(n)) {}
    TavUnicodeString name;
    TavUnicodeString GetName() const override { return name; }
    TavValue GetValue() const override { return name; }
  };
  std::vector<Ref<TavICkeParm>> parameters;
  explicit Parameters(const Names& names) {
    for (const auto& n : names) parameters.push_back(std::make_shared<Parm>(n));
  }
  std::vector<Ref<TavICkeParm>> GetParameters() const override { return parameters; }
};

struct AddAttributeCommand : ::testing::Test {
  ConfigFolder config{"gantt-columns"};  // before the session, which reads it
  host::HostSession session;
  std::ostringstream out;
  host::HostEngine engine{&out};
  OneWindowLayout layout;
  KeyedTypes types;
  Ref<RecordingGanttWindow> window = std::make_shared<RecordingGanttWindow>();
  Ref<host::HostDocument> doc = host::HostDocument::Create();
  Ref<host::HostActivity> weld, paint;
  Ref<host::HostProduct> body, panel, station, robot, gun;
  OrvGanttAddAttributeCmd* cmd = nullptr;

  AddAttributeCommand() {
    layout.current = window;
    for (const char* t : {"GanttTestWeld", "GanttTestPaint"}) host::RegisterType(t, "PhysicalActivity");
    types.types["GanttTestWeld"] = std::make_shared<Keyed>(
        "GanttTestWeld", N({"Weld Spots", "SpecifiedCT", "Length Of Curve Fastener (m)", "Cost"}), N({"Cost", "Operator", "_NumberAsssignedFasteners"}));
    types.types["GanttTestPaint"] = std::make_shared<Keyed>("GanttTestPaint", N({"SpecifiedCT"}), N({"CalculatedCT"}));
    auto root = doc->CreateRootProcess("proc", "Line");
    weld = doc->CreateActivity(root, "GanttTestWeld", "weld", "Weld");
    paint = doc->CreateActivity(root, "GanttTestPaint", "paint", "Paint");
    body = doc->CreateProduct(nullptr, "body", "Body.1");
    panel = doc->CreateProduct(body, "panel", "Panel.1");
    station = doc->CreateProduct(nullptr, "st", "Station.1", {}, true);
    robot = doc->CreateProduct(station, "rb", "Robot.1");
    gun = doc->CreateProduct(robot, "gun", "Gun.1");
    session.OpenDocument(doc);
  }
  void Start() {
    std::string err;
    auto c = std::make_unique<OrvGanttAddAttributeCmd>();
    cmd = c.get();
    ASSERT_TRUE(engine.StartCommand(std::move(c), &err)) << err;
  }
  bool Pick(const Ref<TavBaseUnknown>& o, std::string* why = nullptr) {
    std::string err;
    const bool ok = engine.Pick(doc->PathOf(o), &err);
    if (why) *why = err;
    return ok;
  }
  std::string State() {
    auto* c = engine.RunningCommand();
    return c && c->GetCurrentState() ? c->GetCurrentState()->GetName() : "ended";
  }
  static auto Settings() { return OrvIVEKGanttSettingAtt::Instantiate(OrvIVEKGanttSettingAtt::kControllerName); }
  static TavUnicodeString Stored() {
    TavUnicodeString v;
    Settings()->GetColumnVisibility(v);
    return v;
  }
  static void Store(const TavUnicodeString& v) {
    Settings()->SetColumnVisibility(v);
    ASSERT_EQ(Settings()->Save(), S_OK);
  }
  template <class W = TavDlgWidget>
  W* Widget(const std::string& name) {
    auto* w = dynamic_cast<W*>(cmd && cmd->Dialog() ? cmd->Dialog()->Find(name) : nullptr);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void Push(const std::string& button) { Widget(button)->Notify(TavDlgNotification::Activate); }
  void Choose(const std::string& list, std::vector<int> rows) { Widget<TavDlgMultiList>(list)->SetSelectedRows(std::move(rows)); }
  std::vector<std::string> Rows(const std::string& list) {
    std::vector<std::string> rows;
    auto* l = Widget<TavDlgMultiList>(list);
    for (int r = 0; r < l->GetLineCount(); ++r) rows.push_back(l->GetColumnItem(0, r).utf8());
    return rows;
  }
  std::vector<int> Selected(const std::string& list) { return Widget<TavDlgMultiList>(list)->GetSelect(); }
};

}  // namespace gantt_test
