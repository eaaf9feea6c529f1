#pragma once
// Fills a picked activity from a "SCOPES" process file chosen in a file box: its
// label and description, one linked child per operation. The file is read whole
// before the model is touched, so a broken file changes nothing.
#include <memory>
#include <string>

#include "TavCommand.h"
#include "TavMirtProcessImport.h"

class TavMirtParseProcessFile : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "TavMirtParseProcessFile";

  TavMirtParseProcessFile();
  ~TavMirtParseProcessFile() override;
  void BuildGraph() override;
  bool Cancel() override { return true; }

  // Reads the file the box names into the activity the agent holds.
  bool TranslateProcess();

  // What the last translation made (tests and traces look at it).
  const TavMirtImportReport& Report() const { return report_; }

  // Reads a whole file; false when it cannot be read.
  static bool ReadFile(const std::string& path, std::string& text);

private:
  void OpenFileBox();
  void ShowBox(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {});

  std::unique_ptr<TavPathElementAgent> activityAgent_;
  std::unique_ptr<TavDialogAgent> fileAgent_;
  std::unique_ptr<TavDlgFile> fileBox_;
  TavMirtImportReport report_;
};

std::unique_ptr<TavStateCommand> fctCreateTavMirtParseProcessFile();
