#pragma once
// The host's workbench contracts: command headers and the host's list of them,
// workshops and their current workbench, the workbench adapters that build a
// workbench's toolbars and menus, workbench factories and add-ins, and the
// marker, initialisation and transition extensions of a workbench.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TavBase.h"
#include "TavCommand.h"

// The module from which the host loads its own command classes.
inline constexpr const char* kTavHostCommandModule = "TavHostCommands";
// The late type of the host's application frame object, which workbench factories extend.
inline constexpr const char* kTavApplicationFrameLateType = "TavApplicationFrame";

// ------------------------------------------------------------------ headers
// A command header: what a toolbar button or menu entry fires. It names the
// load module and class of its command; its title, help and icon are found in
// the resource files it names, level by level.
class TavCommandHeader {
public:
  // Initial states: 1 makes the header available, any other value unavailable.
  static constexpr int kAvailable = 1;
  static constexpr int kUnavailable = 0;

  TavCommandHeader(const TavUnicodeString& identifier, const TavUnicodeString& moduleName,
                   const TavUnicodeString& className, void* argument, int initialState);
  TavCommandHeader(const TavUnicodeString& identifier, const TavUnicodeString& moduleName,
                   const TavUnicodeString& className, int initialState);
  // No module: the host finds the class in whichever module declares it.
  TavCommandHeader(const TavUnicodeString& identifier, const TavUnicodeString& className, int initialState);
  TavCommandHeader(const TavCommandHeader& other) = default;
  TavCommandHeader& operator=(const TavCommandHeader&) = delete;
  virtual ~TavCommandHeader() = default;

  virtual std::unique_ptr<TavCommandHeader> Clone() const;
  // The resource file (catalogue name) consulted at a level: level 0 first,
  // then 1, ... until an empty name. The base header has one level, "TavCommandHeader".
  virtual const TavUnicodeString& GetResourceFile(int level) const;
  // The framework in which the resource files are found.
  virtual TavUnicodeString GetFW() const;

  const TavUnicodeString& GetID() const { return id_; }
  const TavUnicodeString& GetModuleName() const { return module_; }
  const TavUnicodeString& GetClassName() const { return class_; }
  void* GetArgument() const { return argument_; }
  int GetInitialState() const { return initialState_; }

  bool IsAvailable() const { return available_; }
  void BecomeAvailable() { available_ = true; }
  void BecomeUnavailable() { available_ = false; }

  // ---- the host's list of headers (one per identifier, creation order)
  // The listed header with this identifier, or null. The flag is reserved (0).
  static TavCommandHeader* GetHeaderFromList(const TavUnicodeString& identifier, int flag = 0);
  // Hands a header to the host. When the identifier is already listed the new
  // header is dropped and the listed one returned, so earlier pointers stay valid.
  static TavCommandHeader* AddToList(std::unique_ptr<TavCommandHeader> header);
  static std::vector<TavCommandHeader*> GetList();
  // Releases every listed header (the host's shutdown).
  static void ClearList();

private:
  TavUnicodeString id_, module_, class_;
  void* argument_ = nullptr;
  int initialState_ = kAvailable;
  bool available_ = true;
};

// ------------------------------------------------------------------ workshops
// A named entry of one of the host's command lists (workshops, workbenches).
class TavCmdAccess {
public:
  explicit TavCmdAccess(TavUnicodeString name) : name_(std::move(name)) {}
  TavCmdAccess(const TavCmdAccess&) = delete;
  TavCmdAccess& operator=(const TavCmdAccess&) = delete;
  virtual ~TavCmdAccess() = default;
  const TavUnicodeString& GetName() const { return name_; }
  // The next entry of the same list, or null at its end.
  TavCmdAccess* GetNext() const { return next_; }

private:
  friend class TavCmdWorkshop;
  TavUnicodeString name_;
  TavCmdAccess* next_ = nullptr;
};

// A workshop with its workbenches, one of which may be current.
class TavCmdWorkshop : public TavCmdAccess {
public:
  explicit TavCmdWorkshop(TavUnicodeString name) : TavCmdAccess(std::move(name)) {}

  // The first workshop of the host's global list, or null.
  static TavCmdWorkshop* GetGlobal();
  // Appends a workshop to the global list (a taken name returns the listed one).
  static TavCmdWorkshop* AddGlobal(std::unique_ptr<TavCmdWorkshop> workshop);
  static TavCmdWorkshop* FindGlobal(const TavUnicodeString& name);
  static void ClearGlobal();

  // The current workbench's entry, or null.
  TavCmdAccess* GetCurrentWorkbench() const { return current_; }
  // The workbench entry of that name, created on first use.
  TavCmdAccess* AddWorkbench(const TavUnicodeString& name);
  TavCmdAccess* FindWorkbench(const TavUnicodeString& name) const;
  // Null: no workbench is current. An entry of another workshop is refused.
  bool SetCurrentWorkbench(TavCmdAccess* workbench);
  TavCmdAccess* GetFirstWorkbench() const { return workbenches_.empty() ? nullptr : workbenches_.front().get(); }

private:
  std::vector<std::unique_ptr<TavCmdAccess>> workbenches_;
  TavCmdAccess* current_ = nullptr;
};

// ------------------------------------------------------------------ layout
// What a workbench adapter builds: toolbars with their headers, the host's
// menus and the submenus under them, in the order they were appended.
struct TavWorkbenchToolbar {
  TavUnicodeString name, secondName;
  int flag = 0, position = 0;
  std::vector<TavUnicodeString> headers;
};

struct TavWorkbenchMenuEntry {
  bool submenu = false;
  TavUnicodeString name;  // header identifier or submenu name
};

struct TavWorkbenchMenu {
  TavUnicodeString name, parent;  // parent empty for a host menu
  std::vector<TavWorkbenchMenuEntry> entries;
};

// A placement or submenu the adapter could not make (its toolbar or menu does not exist).
struct TavWorkbenchDroppedPlacement {
  TavUnicodeString item;       // header identifier or submenu name
  TavUnicodeString container;  // the missing toolbar or menu
  bool toolbar = false;
};

struct TavWorkbenchLayout {
  std::vector<TavWorkbenchToolbar> toolbars;
  std::vector<TavWorkbenchMenu> menus;  // host menus first, then submenus
  std::vector<TavWorkbenchDroppedPlacement> dropped;

  const TavWorkbenchToolbar* FindToolbar(const TavUnicodeString& name) const;
  const TavWorkbenchMenu* FindMenu(const TavUnicodeString& name) const;
  // Every header identifier placed on a toolbar or in a menu (first placement order, once each).
  std::vector<TavUnicodeString> PlacedHeaders() const;
};

// ------------------------------------------------------------------ configuration
class OrvECommonWkbAdapter;

// The configuration every workbench offers its workshop.
class TavIWorkbenchConfiguration : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIWorkbenchConfiguration);
  // Creates the workbench's headers (once; later calls do nothing).
  virtual void CreateCommands() = 0;
  // The workbench's toolbars and menus, defining them first if needed.
  virtual const TavWorkbenchLayout& CreateWorkbench() = 0;
  // The interface through which add-ins contribute to this workbench.
  virtual TavUnicodeString GetAddinInterface() = 0;
  // Further add-in interfaces: those of every workbench, and those of its kind.
  virtual void GetCustomInterfaces(std::vector<std::string>& defaultInterfaces,
                                   std::vector<std::string>& customInterfaces) = 0;
};

// The workshop "WSPROC"'s configuration interface.
class TavIWSPROCConfiguration : public virtual TavIWorkbenchConfiguration {
public:
  TAV_INTERFACE(TavIWSPROCConfiguration);
};

// A component contributing headers and toolbars to workbenches.
class TavIWorkbenchAddin : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIWorkbenchAddin);
  virtual void CreateCommands() = 0;
  virtual void CreateToolbars(OrvECommonWkbAdapter& workbench) = 0;
};

// Add-ins by the interface they implement.
class TavWorkbenchAddins {
public:
  using Factory = std::function<Ref<TavIWorkbenchAddin>()>;
  // Returns a token for Unregister.
  static int Register(std::string addinInterface, Factory factory);
  static void Unregister(int token);
  static std::vector<Ref<TavIWorkbenchAddin>> Create(std::string_view addinInterface);
};

// The host's workbench adapter: the toolbar, menu and header placement services,
// and the adapter's own standard content.
class OrvECommonWkbAdapter : public virtual TavIWorkbenchConfiguration {
public:
  // Mode 1: the common content (the host menus "INSERT" and "TOOLS").
  // Mode 2: process planning (the common content and the standard process headers).
  static constexpr int kCommonMode = 1;
  static constexpr int kProcessMode = 2;

  OrvECommonWkbAdapter(TavUnicodeString workbenchName, int mode);
  const TavUnicodeString& GetWorkbenchName() const { return name_; }
  int GetMode() const { return mode_; }

  // The workbench's own toolbars, menus and headers; runs once, from CreateCommands.
  virtual void DefineWorkbench() {}

  void CreateCommands() override;
  const TavWorkbenchLayout& CreateWorkbench() override;
  TavUnicodeString GetAddinInterface() override { return {}; }
  void GetCustomInterfaces(std::vector<std::string>& defaultInterfaces,
                           std::vector<std::string>& customInterfaces) override;

  // A new toolbar (the second name, flag and position code are kept with it).
  // A name already taken fails with E_FAIL and keeps the first toolbar.
  HRESULT AppendToolbar(const TavUnicodeString& toolbarName, const TavUnicodeString& secondName, int flag, int position);
  // A submenu under a host menu or another submenu; E_FAIL when the parent does not exist.
  HRESULT AppendMenubar(const TavUnicodeString& menuName, const TavUnicodeString& parentMenuName);
  // Places a header (by identifier) on a toolbar and in a menu; an empty name
  // leaves it off that one. A toolbar or menu that does not exist drops that
  // placement (recorded in the layout) and the call answers E_FAIL. The flag is reserved (0).
  HRESULT AppendCmdHdr(const TavUnicodeString& headerIdentifier, const TavUnicodeString& toolbarName,
                       const TavUnicodeString& menuName, int flag);

  const TavWorkbenchLayout& GetLayout() const { return layout_; }
  bool IsDefined() const { return defined_; }

protected:
  // The adapter's standard content, before DefineWorkbench.
  virtual void CreateStandardContent();

private:
  TavWorkbenchMenu* Menu(const TavUnicodeString& name);
  TavUnicodeString name_;
  int mode_;
  bool defined_ = false;
  TavWorkbenchLayout layout_;
};

// The adapter of the host's process-planning workbenches.
class OrvEProcessWkbAdapter : public OrvECommonWkbAdapter {
public:
  OrvEProcessWkbAdapter(TavUnicodeString workbenchName, int mode) : OrvECommonWkbAdapter(std::move(workbenchName), mode) {}
  void GetCustomInterfaces(std::vector<std::string>& defaultInterfaces,
                           std::vector<std::string>& customInterfaces) override;
};

// ------------------------------------------------------------------ factories
// A factory of objects by name.
class TavIGenericFactory : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIGenericFactory);
  virtual bool Support(const TavUnicodeString& name) = 0;
  // A new object's interface of that name, or null.
  virtual Ref<TavBaseUnknown> Create(const TavUnicodeString& interfaceName) = 0;
};

// Base of the workbench factories, extensions of the application frame.
class TavWorkshopConfigurationFactory : public virtual TavBaseUnknown {
public:
  explicit TavWorkshopConfigurationFactory(Ref<TavBaseUnknown> applicationFrame)
      : frame_(std::move(applicationFrame)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return frame_ ? frame_ : self(); }

private:
  Ref<TavBaseUnknown> frame_;
};

// The host's dictionary of workbenches: which factory interface on the
// application frame makes each workbench of a workshop.
class TavWorkbenchDictionary {
public:
  struct Entry {
    std::string workshop, workbench, factoryInterface;
  };
  // A second declaration of the same workbench replaces the first.
  static void Declare(std::string workshop, std::string workbench, std::string factoryInterface);
  static std::vector<Entry> Workbenches(std::string_view workshop);
};

// ------------------------------------------------------------------ entry and exit
// Tells which workbench of which workshop is current.
class TavIMarkerWorkbench : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIMarkerWorkbench);
  virtual TavUnicodeString GetWorkshopName() = 0;
  virtual TavUnicodeString GetWorkbenchName() = 0;
};

// Run when a workbench is entered (Init) and left (Dispose).
class TavIWorkbenchInitialization : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIWorkbenchInitialization);
  virtual void Init() = 0;
  virtual void Dispose() = 0;
};

// Run when the user switches from one workbench to another of the same workshop.
class TavIWorkbenchTransition : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIWorkbenchTransition);
  // S_OK: the switch keeps the current document and editor; S_FALSE: the host
  // treats it as leaving one workbench and entering the other.
  virtual HRESULT DoTransition(const TavUnicodeString& fromWorkbench, const TavUnicodeString& toWorkbench) = 0;
};

// The host's entry and transition behaviour of process-planning workbenches.
class OrvEProcessTransition : public virtual TavIWorkbenchInitialization, public virtual TavIWorkbenchTransition {
public:
  explicit OrvEProcessTransition(Ref<TavBaseUnknown> extended = nullptr) : extended_(std::move(extended)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return extended_ ? extended_ : self(); }

  void Init() override { initialized_ = true; ++inits_; }
  void Dispose() override { initialized_ = false; }
  // With the transition flag at 1 a switch between process workbenches keeps
  // the document (S_OK); otherwise it is a plain leave-and-enter (S_FALSE).
  HRESULT DoTransition(const TavUnicodeString& fromWorkbench, const TavUnicodeString& toWorkbench) override;

  int GetTransitionFlag() const { return transitionFlag_; }
  void SetTransitionFlag(int flag) { transitionFlag_ = flag; }
  bool IsInitialized() const { return initialized_; }
  int InitCount() const { return inits_; }

private:
  Ref<TavBaseUnknown> extended_;
  int transitionFlag_ = 0;
  bool initialized_ = false;
  int inits_ = 0;
};

// ------------------------------------------------------------------ unbuilt commands
// The command a creation function yields for a class this build does not
// contain: an information box says so, then the command ends.
class TavUnavailableCommand : public TavStateCommand {
public:
  explicit TavUnavailableCommand(std::string className);
  void BuildGraph() override;
  const std::string& GetClassName() const { return className_; }
  // The box's texts (catalogue "TavUnavailableCommand", keys "Title" and "Text").
  static TavUnicodeString Title();
  static TavUnicodeString Text(const std::string& className);

private:
  bool TellUser();
  std::string className_;
};

// Registers the interfaces above for name-based queries. Idempotent.
void TavDeclareWorkbenchInterfaces();
