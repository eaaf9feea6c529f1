#include "TavMirtParseProcessFile.h"

#include <filesystem>
#include <fstream>

#include "TavServices.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("Mirtcommands", "Trace for TavMirtParseProcessFile");
  return t;
}
constexpr const char* kClass = "TavMirtParseProcessFile";
}  // namespace

TavMirtParseProcessFile::TavMirtParseProcessFile() : TavStateCommand("TavMirtParseProcessFile") {}

TavMirtParseProcessFile::~TavMirtParseProcessFile() = default;

std::unique_ptr<TavStateCommand> fctCreateTavMirtParseProcessFile() { return std::make_unique<TavMirtParseProcessFile>(); }

void TavMirtParseProcessFile::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  auto* selectActivity = GetInitialState("SelectActivity");
  activityAgent_ = std::make_unique<TavPathElementAgent>("Activity");
  activityAgent_->SetElementType(TavISPPActivity::kInterfaceName);
  activityAgent_->SetRepeatMode(false);
  AddCSOClient(activityAgent_.get());
  selectActivity->AddDialogAgent(activityAgent_.get());

  auto* selectFile = AddDialogState("SelectFile");
  fileAgent_ = std::make_unique<TavDialogAgent>("Process File to read");
  selectFile->AddDialogAgent(fileAgent_.get());
  selectFile->SetEntryAction([this] { OpenFileBox(); });
  // The box is gone however the command leaves the state.
  selectFile->SetExitAction([this] { fileBox_.reset(); });

  AddTransition(selectActivity, selectFile, IsOutputSetCondition(activityAgent_.get()));
  TavAgent* file = fileAgent_.get();
  AddTransition(selectFile, nullptr, [file, this] { return file->IsValued() && fileAgent_->GetLastNotification() == TavDlgNotification::OK; },
                Action(&TavMirtParseProcessFile::TranslateProcess));
  AddTransition(selectFile, nullptr, [file, this] { return file->IsValued() && fileAgent_->GetLastNotification() != TavDlgNotification::OK; });
}

void TavMirtParseProcessFile::OpenFileBox() {
  TavTraceScope scope(Trace(), kClass, "OpenFileBox");
  fileBox_ = std::make_unique<TavDlgFile>(nullptr, "SelectProcessFile");
  fileBox_->SetTitle(TavMsgCatalog::BuildMessage(kCatalog, "SelectProcessFile.Title", {}, "Process File to read"));
  fileBox_->SetFilterPattern("*.process");
  fileBox_->SetFilterStrings({"Process (*.process)", "*.*"}, {"*.process", "*.*"});
  fileAgent_->AcceptOnNotify(fileBox_.get(), TavDlgNotification::OK);
  fileAgent_->AcceptOnNotify(fileBox_.get(), TavDlgNotification::Cancel);
  fileBox_->Show();
}

bool TavMirtParseProcessFile::ReadFile(const std::string& path, std::string& text) {
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return false;  // a folder opens, then fails to read
  const auto size = std::filesystem::file_size(path, ec);
  std::ifstream in(path, std::ios::binary);
  if (ec || !in) return false;
  // One read of the whole file: a 10^5-operation file is tens of megabytes.
  text.resize(static_cast<std::size_t>(size));
  in.read(text.data(), static_cast<std::streamsize>(size));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return !in.bad();
}

void TavMirtParseProcessFile::ShowBox(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params) {
  TavDlgNotify box(nullptr, "ScopesParsing", TavDlgNotify::Error);
  box.DisplayBox(TavMsgCatalog::BuildMessage(kCatalog, "TranslateProcess.Title", {}, "Process file"),
                 TavMsgCatalog::BuildMessage(kCatalog, key, params, fallback));
  box.DisplayBlocked();
}

bool TavMirtParseProcessFile::TranslateProcess() {
  TavTraceScope scope(Trace(), kClass, "TranslateProcess");
  auto activity = query<TavISPPActivity>(activityAgent_->GetValueObject());
  const std::string path = fileBox_ ? fileBox_->GetSelection().utf8() : std::string();
  fileBox_.reset();
  std::string text;
  if (!activity || !ReadFile(path, text)) return true;  // nothing readable: nothing to do, nothing to say
  TavMirtProcessFile file;
  std::string error;
  switch (TavMirtProcessFile::Parse(text, file, &error)) {
    case TavMirtProcessFile::Status::NotScopes:
      ShowBox("TranslateProcess.Msg", "The file is not a SCOPES process file.");
      return true;
    case TavMirtProcessFile::Status::Broken:
      ShowBox("TranslateProcess.Broken", "/P1: the process file is broken; nothing was imported.",
              {TavUnicodeString(path + ":" + error)});
      return true;
    case TavMirtProcessFile::Status::Read:
      break;
  }
  if (!TavMirtApplyProcessFile(activity, file, report_, &error))
    ShowBox("TranslateProcess.Failed", "/P1: nothing was imported: /P2", {TavUnicodeString(path), TavUnicodeString(error)});
  if (Trace().IsEnabled())
    Trace().Print(std::to_string(report_.created.size()) + " operations, " + std::to_string(report_.Count("made")) + " links made");
  return true;
}
