#pragma once
// The reference host's run-time: message catalogues, repositories, editors and
// the session that installs them behind the platform's static entry points.
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "HostModel.h"

namespace host {

// Reports a problem with a file the host read ("file:line: message"); stderr by default.
using Diagnostic = std::function<void(const std::string&)>;
void SetDiagnosticSink(Diagnostic d);
void Report(const std::string& message);

// Catalogue files: resources/catalogs/<Name>.msg, lines "Key = text" ('#' comments,
// "\n" for a line break). A malformed line is reported with file:line and skipped.
class MessageCatalogs {
public:
  explicit MessageCatalogs(std::filesystem::path dir) : dir_(std::move(dir)) {}
  const std::map<std::string, std::string>* Catalog(const std::string& name);
  std::optional<std::string> Find(const std::string& catalog, const std::string& key);
  static std::map<std::string, std::string> Parse(const std::string& text, const std::string& fileName,
                                                  std::vector<std::string>* errors);

private:
  std::filesystem::path dir_;
  std::map<std::string, std::optional<std::map<std::string, std::string>>> cache_;
};

// Where catalogues and texts live: $MIRT_RESOURCES, else the source tree's resources/.
std::filesystem::path ResourceDir();
// Where repositories persist: $MIRT_CONFIG_DIR, else $XDG_CONFIG_HOME/mirt, else ~/.config/mirt.
std::filesystem::path ConfigDir();

// Why `name` cannot name a setting or preference repository (empty, a path
// separator, ".."), or empty when it can.
std::string RepositoryNameProblem(std::string_view name);

// A value as the user types it for a repository: true/false, an integer, a number, else a text.
TavValue RepositoryValueFromText(const std::string& text);

// What a repository file holds: single values and arrays of strings. A key is in one
// of the two maps only (writing one kind under a key replaces the other).
struct RepositoryContents {
  std::map<std::string, TavValue> values;
  std::map<std::string, std::vector<TavUnicodeString>> arrays;
  friend bool operator==(const RepositoryContents&, const RepositoryContents&) = default;
};

// A repository kept in <config>/<kind>/<name>.repo (docs/repositories.md). A corrupt
// file is reported and set aside as <name>.repo.corrupt, never overwritten.
class FileRepository final : public TavRepository {
public:
  FileRepository(std::string name, std::filesystem::path file);
  const std::string& GetName() const override { return name_; }
  std::optional<TavValue> Read(const std::string& key) const override;
  void Write(const std::string& key, TavValue value) override;
  bool Delete(const std::string& key) override;
  std::vector<std::string> Keys() const override;
  bool Save(std::string* error = nullptr) override;
  std::optional<std::vector<TavUnicodeString>> ReadStrings(const std::string& key) const override;
  int WriteStrings(const std::string& key, std::vector<TavUnicodeString> strings) override;
  const std::filesystem::path& File() const { return file_; }

  // Keys in ascending byte order, so the same contents always give the same text.
  static std::string Serialize(const RepositoryContents& contents);
  // Throws std::runtime_error("line N: ...") on a malformed text.
  static RepositoryContents Deserialize(const std::string& text);

private:
  std::string name_;
  std::filesystem::path file_;
  RepositoryContents contents_;
};

class HostViewer3D final : public virtual TavIViewer3D {
public:
  void Reframe(const TavSelectionSet& on) override { frame_ = on.Items(); ++reframes_; }
  std::vector<TavPathElement> GetLastFrame() const override { return frame_; }
  int Reframes() const { return reframes_; }

private:
  std::vector<TavPathElement> frame_;
  int reframes_ = 0;
};

class HostEditor final : public virtual TavFrmEditor {
public:
  explicit HostEditor(Ref<HostDocument> doc);
  // Extensions of the editor (its copy-and-paste actor) are registered under this.
  std::string LateType() const override { return "TavFrmEditor"; }
  Ref<TavDocument> GetDocument() const override { return doc_; }
  TavSelectionSet& GetCSO() override { return cso_; }
  TavSelectionSet& GetHSO() override { return hso_; }
  TavSelectionSet& GetPSO() override { return pso_; }
  TavPathElement GetActivePath() const override { return active_; }
  void SetActivePath(const TavPathElement& p) override { active_ = p; }
  std::vector<Ref<TavIViewer3D>> GetViewers3D() const override { return {viewer_}; }
  const Ref<HostDocument>& Document() const { return doc_; }
  HostViewer3D& Viewer() { return *viewer_; }

private:
  Ref<HostDocument> doc_;
  TavSelectionSet cso_{"CSO"}, hso_{"HSO"}, pso_{"PSO"};
  TavPathElement active_;
  Ref<HostViewer3D> viewer_ = std::make_shared<HostViewer3D>();
};

// One running host. Construction installs it; destruction uninstalls it.
class HostSession final : public TavHostServices {
public:
  HostSession();
  ~HostSession() override;
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;
  static HostSession* Current();

  // Opens a document in a new editor that becomes current.
  Ref<HostEditor> OpenDocument(Ref<HostDocument> doc);
  void CloseEditor(const Ref<HostEditor>& ed);
  void SetCurrentEditor(const Ref<HostEditor>& ed) { current_ = ed; }
  const std::vector<Ref<HostEditor>>& Editors() const { return editors_; }
  Ref<HostEditor> CurrentHostEditor() const { return current_; }
  Ref<HostDocument> CurrentDocument() const { return current_ ? current_->Document() : nullptr; }
  MessageCatalogs& Catalogs() { return catalogs_; }
  void SetHasMainWindow(bool b) { mainWindow_ = b; }
  int BusyCount() const { return busyCount_; }

  Ref<TavFrmEditor> CurrentEditor() override { return current_; }
  void SetBusyCursor(bool busy) override;
  bool IsBusy() const override { return busy_; }
  bool HasMainWindow() const override { return mainWindow_; }
  std::string TemporaryDirectory() const override;
  TavUnicodeString BuildMessage(const std::string& catalog, const std::string& key,
                                const std::vector<TavUnicodeString>& params, const TavUnicodeString& fallback) override;
  bool HasMessageKey(const std::string& catalog, const std::string& key) override;
  // Throw std::invalid_argument for a name RepositoryNameProblem refuses.
  TavRepository& Settings(const std::string& name) override;
  TavRepository& Preferences(const std::string& name) override;

private:
  TavRepository& Repo(const std::string& kind, const std::string& name);
  TavHostServices* previous_;
  std::vector<Ref<HostEditor>> editors_;
  Ref<HostEditor> current_;
  MessageCatalogs catalogs_;
  std::map<std::string, std::unique_ptr<FileRepository>> repos_;
  bool busy_ = false, mainWindow_ = true;
  int busyCount_ = 0;
};

}  // namespace host
