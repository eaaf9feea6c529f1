#pragma once
// The host's run-time services: editors and selection sets, the application
// frame, message catalogues, traces, setting and preference repositories.
#include <map>
#include <optional>
#include <unordered_map>

#include "TavPPR.h"

// The path of a pick, from the root (top) to the picked object (leaf).
class TavPathElement {
public:
  TavPathElement() = default;
  explicit TavPathElement(std::vector<Ref<TavBaseUnknown>> objects) : objects_(std::move(objects)) {}
  const std::vector<Ref<TavBaseUnknown>>& Objects() const { return objects_; }
  int GetSize() const { return static_cast<int>(objects_.size()); }
  bool IsEmpty() const { return objects_.empty(); }
  Ref<TavBaseUnknown> GetLeaf() const { return objects_.empty() ? nullptr : objects_.back(); }
  Ref<TavBaseUnknown> GetTop() const { return objects_.empty() ? nullptr : objects_.front(); }
  // The element just above the leaf, or null.
  Ref<TavBaseUnknown> GetFatherOfLeaf() const { return objects_.size() < 2 ? nullptr : objects_[objects_.size() - 2]; }
  // First element supporting T, walking from the top (or from the leaf).
  template <class T>
  Ref<T> SearchFromTop() const {
    for (const auto& o : objects_)
      if (auto t = query<T>(o)) return t;
    return nullptr;
  }
  template <class T>
  Ref<T> SearchFromLeaf() const {
    for (auto it = objects_.rbegin(); it != objects_.rend(); ++it)
      if (auto t = query<T>(*it)) return t;
    return nullptr;
  }
  friend bool operator==(const TavPathElement& a, const TavPathElement& b);

private:
  std::vector<Ref<TavBaseUnknown>> objects_;
};

// CSO (current selection), HSO (highlight), PSO (preselection).
class TavSelectionSet {
public:
  explicit TavSelectionSet(std::string name) : name_(std::move(name)) {}
  const std::string& GetName() const { return name_; }
  void AddElement(const TavPathElement& p);
  bool RemoveElement(const TavPathElement& p);
  bool Contains(const TavPathElement& p) const;
  // True when some element ends at this object.
  bool ContainsObject(const Ref<TavBaseUnknown>& o) const;
  void Empty() {
    items_.clear();
    leaves_.clear();
    paths_.clear();
  }
  int GetSize() const { return static_cast<int>(items_.size()); }
  const std::vector<TavPathElement>& Items() const { return items_; }

private:
  std::string name_;
  std::vector<TavPathElement> items_;
  // How many elements end at each object, and where each path stands by its hash:
  // selecting 10^5 objects one by one tests membership without scanning the set.
  std::unordered_map<const TavBaseUnknown*, std::uint32_t> leaves_;
  std::unordered_multimap<std::size_t, std::uint32_t> paths_;
};

// A 3D viewer of an editor; reframing is recorded so that scripts can show it.
class TavIViewer3D : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIViewer3D);
  virtual void Reframe(const TavSelectionSet& on) = 0;
  virtual std::vector<TavPathElement> GetLastFrame() const = 0;
};

class TavFrmEditor : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavFrmEditor);
  static Ref<TavFrmEditor> GetCurrentEditor();
  virtual Ref<TavDocument> GetDocument() const = 0;
  virtual TavSelectionSet& GetCSO() = 0;
  virtual TavSelectionSet& GetHSO() = 0;
  virtual TavSelectionSet& GetPSO() = 0;
  // The editor's current (active) path: what the user is working in.
  virtual TavPathElement GetActivePath() const = 0;
  virtual void SetActivePath(const TavPathElement& p) = 0;
  virtual std::vector<Ref<TavIViewer3D>> GetViewers3D() const = 0;
};

class TavFrmLayout {
public:
  // The current layout's viewers are the current editor's.
  static std::vector<Ref<TavIViewer3D>> GetCurrentViewers();
};

// The application frame: main window, busy cursor, the temporary directory.
class TavApplicationFrame {
public:
  static void SetBusyCursor(bool busy);
  static bool IsBusy();
  static bool HasMainWindow();
  static std::string GetTemporaryDirectory();
  // The status line of the main window: the last text shown there.
  static void SetStatusText(const TavUnicodeString& text);
  static TavUnicodeString GetStatusText();
};

// Message catalogues: text by (catalogue, key) with "/P1" ... parameters.
class TavMsgCatalog {
public:
  // Missing catalogue or key: the fallback text (parameters substituted too).
  static TavUnicodeString BuildMessage(const std::string& catalog, const std::string& key,
                                       const std::vector<TavUnicodeString>& params = {},
                                       const TavUnicodeString& fallback = {});
  static bool HasKey(const std::string& catalog, const std::string& key);
};

// Replaces "/P1".."/Pn" in a catalogue text by the parameters.
TavUnicodeString TavSubstituteParameters(const TavUnicodeString& text, const std::vector<TavUnicodeString>& params);

// Named trace channels; enabled by the MIRT_TRACE environment variable
// (comma-separated channel names, or "all"), written to stderr. Every line begins
// with "-->" or "<--" and ends with the channel's name in brackets.
class TavTrace {
public:
  TavTrace(std::string name, std::string description);
  bool IsEnabled() const { return enabled_; }
  const std::string& GetName() const { return name_; }
  const std::string& GetDescription() const { return description_; }
  void Print(std::string_view line) const;
  void Enter(std::string_view cls, std::string_view op) const;
  void Exit(std::string_view cls, std::string_view op) const;

private:
  std::string name_, description_;
  bool enabled_ = false;
};

// Writes "--> Class::Operation [channel]" on construction and "<-- ..." on destruction.
// Costs one test when the channel is off: it stands in operations called per activity.
class TavTraceScope {
public:
  TavTraceScope(const TavTrace& t, std::string_view cls, std::string_view op) : t_(t), cls_(cls), op_(op) {
    if (t_.IsEnabled()) t_.Enter(cls_, op_);
  }
  ~TavTraceScope() {
    if (t_.IsEnabled()) t_.Exit(cls_, op_);
  }
  TavTraceScope(const TavTraceScope&) = delete;
  TavTraceScope& operator=(const TavTraceScope&) = delete;

private:
  const TavTrace& t_;
  std::string_view cls_, op_;
};

// A named repository of typed values that persists between runs.
class TavRepository {
public:
  virtual ~TavRepository() = default;
  virtual const std::string& GetName() const = 0;
  virtual std::optional<TavValue> Read(const std::string& key) const = 0;
  virtual void Write(const std::string& key, TavValue value) = 0;
  virtual bool Delete(const std::string& key) = 0;
  virtual std::vector<std::string> Keys() const = 0;
  // Writes the repository to disk atomically; false with a message on failure.
  virtual bool Save(std::string* error = nullptr) = 0;
  // Arrays of strings, kept beside the single values under their own keys (Delete and
  // Keys cover both). Read: null when the key holds no array. Write: how many values
  // were written (0 when the repository keeps no arrays).
  virtual std::optional<std::vector<TavUnicodeString>> ReadStrings(const std::string&) const { return std::nullopt; }
  virtual int WriteStrings(const std::string&, std::vector<TavUnicodeString>) { return 0; }

  // Typed helpers with defaults.
  bool ReadBool(const std::string& key, bool def) const;
  std::int64_t ReadInt(const std::string& key, std::int64_t def) const;
  double ReadReal(const std::string& key, double def) const;
  TavUnicodeString ReadString(const std::string& key, const TavUnicodeString& def) const;
};

class TavSettingRepository {
public:
  static TavRepository& GetRepository(const std::string& name);
};
class TavSysPreferenceRepository {
public:
  static TavRepository& GetRepository(const std::string& name);
};

// What the host installs so that the static entry points above reach it.
class TavHostServices {
public:
  virtual ~TavHostServices() = default;
  static TavHostServices* Get();
  static void Install(TavHostServices* host);  // null uninstalls

  virtual Ref<TavFrmEditor> CurrentEditor() = 0;
  virtual void SetBusyCursor(bool busy) = 0;
  virtual bool IsBusy() const = 0;
  virtual bool HasMainWindow() const = 0;
  virtual std::string TemporaryDirectory() const = 0;
  virtual void SetStatusText(const TavUnicodeString& text) { status_ = text; }
  virtual TavUnicodeString StatusText() const { return status_; }
  virtual TavUnicodeString BuildMessage(const std::string& catalog, const std::string& key,
                                        const std::vector<TavUnicodeString>& params,
                                        const TavUnicodeString& fallback) = 0;
  virtual bool HasMessageKey(const std::string& catalog, const std::string& key) = 0;
  virtual TavRepository& Settings(const std::string& name) = 0;
  virtual TavRepository& Preferences(const std::string& name) = 0;

private:
  TavUnicodeString status_;
};
