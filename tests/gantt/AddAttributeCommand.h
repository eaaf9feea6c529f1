#pragma once
// The attribute-column command driven through the host's engine on a small plant:
// a settings folder of its own per test, a recording Gantt window installed as the
// current window, and activity types whose attribute keys the test chooses.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "HostEngine.h"
#include "HostRuntime.h"
#include "OrvGanttAddAttributeCmd.h"
#include "TavActivityLib.h"
#include "TavGantt.h"
#include "TavStates.h"

namespace gantt_test {
namespace fs = std::filesystem;
using Names = std::vector<TavUnicodeString>;

inline Names N(std::initializer_list<const char*> names) { return Names(names.begin(), names.end()); }

// MIRT_CONFIG_DIR points at a fresh folder while the test runs.
struct ConfigFolder {
  fs::path path;
  std::optional<std::string> previous;
  ConfigFolder() {
    std::string tmpl = (fs::temp_directory_path() / "gantt-columns-XXXXXX").string();
    path = ::mkdtemp(tmpl.data());
    if (const char* p = std::getenv("MIRT_CONFIG_DIR")) previous = p;
    ::setenv("MIRT_CONFIG_DIR", path.c_str(), 1);
  }
  ~ConfigFolder() {
    if (previous) ::setenv("MIRT_CONFIG_DIR", previous->c_str(), 1);
    else ::unsetenv("MIRT_CONFIG_DIR");
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  fs::path SettingsFile() const { return path / "settings" / "OrvVEKGanttSettingCtrl.repo"; }
};

// A Gantt window that keeps its attribute columns and records every request.
class RecordingGanttWindow : public OrvGanttChartWindow, public OrvIGanttAddRemoveColumn {
public:
  TavUnicodeString GetBaseName() const override { return "Gantt Chart.1"; }
  bool IsDeleted() const override { return false; }
  int AddWindowCallback(Callback) override { return 0; }
  void RemoveWindowCallback(int) override {}
  Ref<TavBaseUnknown> GetRoot() const override { return nullptr; }
  void UpdateGanttTable() override { calls.push_back("update"); }
  HRESULT AddColumns(const std::vector<TavUnicodeString>& attributes) override {
    calls.push_back("add " + Join(attributes));
    for (const auto& a : attributes)
      if (std::find(columns.begin(), columns.end(), a) == columns.end()) columns.push_back(a);
    return S_OK;
  }
  HRESULT RemoveColumns(const std::vector<TavUnicodeString>& attributes) override {
    calls.push_back("remove " + Join(attributes));
    std::erase_if(columns, [&](const TavUnicodeString& c) { return std::find(attributes.begin(), attributes.end(), c) != attributes.end(); });
    return S_OK;
  }
  std::vector<TavUnicodeString> GetAttributeColumns() const override { return columns; }

  static std::string Join(const std::vector<TavUnicodeString>& names) {
    std::string s;
    for (const auto& n : names) s += (s.empty() ? "" : ",") + n.utf8();
    return s;
  }
  std::vector<std::string> calls;
  std::vector<TavUnicodeString> columns;
};

// The layout's windows while the test runs: one current window (or none).
class OneWindowLayout : public TavFrmLayoutWindows {
public:
  OneWindowLayout() : previous_(TavFrmLayoutWindows::Get()) { TavFrmLayoutWindows::Install(this); }
  ~OneWindowLayout() override { TavFrmLayoutWindows::Install(previous_); }
  Ref<TavFrmWindow> GetCurrentWindow() const override { return current; }
  std::vector<Ref<TavFrmWindow>> GetWindows() const override {
    return current ? std::vector<Ref<TavFrmWindow>>{current} : std::vector<Ref<TavFrmWindow>>{};
  }
  Ref<TavFrmWindow> current;

private:
  TavFrmLayoutWindows* previous_;
};

// An activity type with the keys it declares and the keys its specification lists.
class KeyedType : public TavIActivityType, public TavIActivityTypeAttributes, public TavISpecAttrAccess {
public:
  KeyedType(std::string name, Names declared, Names spec) : name_(std::move(name)), declared_(std::move(declared)), spec_(std::move(spec)) {}
  TavUnicodeString GetName() const override { return name_; }
  TavUnicodeString GetKind() const override { return "Activity"; }
  Ref<TavIActivityType> GetSuperType() const override { return nullptr; }
  Ref<TavLibraryDocument> GetLibraryDocument() const override { return nullptr; }
  TavUnicodeString GetIconName() const override { return {}; }
  std::vector<TavUnicodeString> GetSubActivityTypes() const override { return {}; }
  std::vector<TavUnicodeString> GetAttributeKeys() const override { return declared_; }
  HRESULT GetBooleanAttribute(const TavUnicodeString&, bool&) const override { return E_FAIL; }
  std::vector<TavUnicodeString> ListAttributeKeys() const override { return spec_; }

private:
  std::string name_;
  Names declared_, spec_;
};

// The host's type cache, with the test's types in front of it.
class KeyedTypeCache : public OrvVekPlantypeCache {
public:
  KeyedTypeCache() : previous_(OrvVekPlantypeCache::GetInstance()) { OrvVekPlantypeCache::Install(this); }
  ~KeyedTypeCache() override { OrvVekPlantypeCache::Install(previous_); }
  HRESULT BitmapName(const TavUnicodeString& type, TavUnicodeString& bitmap) const override {
    return previous_ ? previous_->BitmapName(type, bitmap) : E_FAIL;
  }
  Ref<TavIActivityType> FindType(const TavUnicodeString& name) const override {
    if (auto it = types.find(name.utf8()); it != types.end()) return it->second;
    return previous_ ? previous_->FindType(name) : nullptr;
  }
  void Declare(const std::string& name, Names declared, Names spec = {}) {
    types[name] = std::make_shared<KeyedType>(name, std::move(declared), std::move(spec));
  }
  std::map<std::string, Ref<TavIActivityType>> types;

private:
  OrvVekPlantypeCache* previous_;
};

// An activity outside any document, with its own attribute names.
class OwnAttributesActivity : public TavISPPActivity, public TavISpecAttrAccess {
public:
  OwnAttributesActivity(std::string type, Names own) : type_(std::move(type)), own_(std::move(own)) {}
  TavUnicodeString GetLabel() const override { return "Loose"; }
  void SetLabel(const TavUnicodeString&) override {}
  TavUnicodeString GetDescription() const override { return {}; }
  void SetDescription(const TavUnicodeString&) override {}
  double GetTime() const override { return 0; }
  void SetTime(double) override {}
  TavUnicodeString GetTypeName() const override { return type_; }
  bool IsOfType(const TavUnicodeString& t) const override { return t == type_; }
  Ref<TavBaseUnknown> GetFather() const override { return nullptr; }
  HRESULT GetBooleanAttribute(const TavUnicodeString&, bool&) const override { return E_FAIL; }
  std::vector<TavUnicodeString> ListAttributeKeys() const override { return own_; }

private:
  std::string type_;
  Names own_;
};

// A resource's properties: parameters by name.
class Parameter : public TavICkeParm {
public:
  explicit Parameter(TavUnicodeString name) : name_(std::move(name)) {}
  TavUnicodeString GetName() const override { return name_; }
  TavValue GetValue() const override { return TavUnicodeString("x"); }

private:
  TavUnicodeString name_;
};
class ParameterResource : public TavIPrdProperties {
public:
  explicit ParameterResource(const Names& names) {
    for (const auto& n : names) parameters_.push_back(std::make_shared<Parameter>(n));
  }
  std::vector<Ref<TavICkeParm>> GetParameters() const override { return parameters_; }

private:
  std::vector<Ref<TavICkeParm>> parameters_;
};

struct AddAttributeCommand : ::testing::Test {
  ConfigFolder config;  // before the session, which reads it
  host::HostSession session;
  std::ostringstream out;
  host::HostEngine engine{&out};
  OneWindowLayout layout;
  KeyedTypeCache types;
  std::shared_ptr<RecordingGanttWindow> window = std::make_shared<RecordingGanttWindow>();
  Ref<host::HostDocument> doc;
  Ref<host::HostRootActivity> root;
  Ref<host::HostActivity> weld, paint;
  Ref<host::HostProduct> body, panel, station, robot, gun;
  OrvGanttAddAttributeCmd* cmd = nullptr;

  AddAttributeCommand() {
    layout.current = window;
    host::RegisterType("GanttTestWeld", "PhysicalActivity");
    host::RegisterType("GanttTestPaint", "PhysicalActivity");
    types.Declare("GanttTestWeld", N({"Weld Spots", "SpecifiedCT", "Length Of Curve Fastener (m)", "Cost"}),
                  N({"Cost", "Operator", "_NumberAsssignedFasteners"}));
    types.Declare("GanttTestPaint", N({"SpecifiedCT"}), N({"CalculatedCT"}));
    doc = host::HostDocument::Create();
    root = doc->CreateRootProcess("proc", "Line");
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
  // The stored column-visibility string.
  static TavUnicodeString Stored() {
    TavUnicodeString v;
    OrvIVEKGanttSettingAtt::Instantiate(OrvIVEKGanttSettingAtt::kControllerName)->GetColumnVisibility(v);
    return v;
  }
  static void Store(const TavUnicodeString& v) {
    auto s = OrvIVEKGanttSettingAtt::Instantiate(OrvIVEKGanttSettingAtt::kControllerName);
    s->SetColumnVisibility(v);
    ASSERT_EQ(s->Save(), S_OK);
  }
  // A dialog's widget by name.
  template <class W = TavDlgWidget>
  W* Widget(const std::string& name) {
    auto* w = dynamic_cast<W*>(cmd && cmd->Dialog() ? cmd->Dialog()->Find(name) : nullptr);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void Push(const std::string& button) {
    if (auto* w = Widget(button)) w->Notify(TavDlgNotification::Activate);
  }
  void Choose(const std::string& list, std::vector<int> rows) {
    if (auto* l = Widget<TavDlgMultiList>(list)) l->SetSelectedRows(std::move(rows));
  }
  // A list's rows as its cells show them.
  std::vector<std::string> Rows(const std::string& list) {
    std::vector<std::string> rows;
    if (auto* l = Widget<TavDlgMultiList>(list))
      for (int r = 0; r < l->GetLineCount(); ++r) rows.push_back(l->GetColumnItem(0, r).utf8());
    return rows;
  }
  std::vector<int> Selected(const std::string& list) {
    auto* l = Widget<TavDlgMultiList>(list);
    return l ? l->GetSelect() : std::vector<int>{};
  }
};

}  // namespace gantt_test
