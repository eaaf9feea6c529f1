#pragma once
// The part consumption XML report: the document built from the records and the
// system's own serializer, which writes ISO-8859-1 bytes exactly as the report
// format fixes them (single-quoted declaration, blanks around '=', a newline
// before every element).
#include <cerrno>
#include <filesystem>
#include <memory>
#include <string>

#include <xercesc/dom/DOM.hpp>

#include "FileWriter.h"

#include "OrvPartConsumptionAnalysisResult.h"


// The engineering-intent rows the activities-of-product dialog adds to the report.
class OrvIPartConsumptionEIInfo {
public:
  virtual ~OrvIPartConsumptionEIInfo() = default;
  virtual int GetEIInfoListSize() const = 0;
  // Row `index` from 1; a failure skips the row.
  virtual HRESULT GetEIInfo(int index, int& number, TavUnicodeString& productName, TavUnicodeString& consumptionState) const = 0;
};

// Where the serializer writes. After the first failed write nothing more is
// written: the report is lost anyway, and the user is told once.
class OrvVekXMLOutput {
public:
  virtual ~OrvVekXMLOutput() = default;
  void WriteBytes(std::string_view bytes);
  bool Failed() const { return error_ != 0; }
  int ErrorCode() const { return error_; }  // an errno value

protected:
  // False with errno set on failure.
  virtual bool DoWrite(std::string_view bytes) = 0;
  void SetError(int e) { if (!error_) error_ = e ? e : EIO; }

private:
  int error_ = 0;
};

class OrvVekXMLStringOutput final : public OrvVekXMLOutput {
public:
  const std::string& Bytes() const { return bytes_; }

protected:
  bool DoWrite(std::string_view b) override { bytes_.append(b); return true; }

private:
  std::string bytes_;
};

// A report file through the program's one file writer: the previous report stays
// whole until the new one is complete, a failed export leaves no temporary file, and
// links, devices and read-only files are treated as for every other output.
class OrvVekXMLFileOutput final : public OrvVekXMLOutput {
public:
  // Null with `errorCode` (errno) and `message` (naming the file and the reason)
  // when the file cannot be written.
  static std::unique_ptr<OrvVekXMLFileOutput> Open(const std::filesystem::path& target, int& errorCode,
                                                   std::string* message = nullptr);
  // Writes out what is pending and puts the file in place; on failure the target is as before.
  bool Commit();
  const std::filesystem::path& Target() const { return writer_.Target(); }
  const std::string& Message() const { return writer_.Error(); }

protected:
  bool DoWrite(std::string_view bytes) override;

private:
  OrvVekXMLFileOutput() = default;
  support::FileWriter writer_;
};

// What happened to an export, for callers that show it themselves (batch verbs).
struct OrvVekXMLExportStatus {
  bool opened = false;
  bool written = false;
  int errorCode = 0;          // errno of the failure
  bool diskFull = false;      // the failure the warning's full text is for
  std::string message;        // one line: what failed and why
};

class OrvVekGenPartConsumptionXML {
public:
  static constexpr const char* kCatalog = "OrvVekListActAssOfProdDlg";
  static constexpr const char* kWriteCatalog = "OrvVekListActAssOfProdDlgNew";

  // Fills `document` with the root PartConsumption, one Part per record and one
  // EI per engineering-intent row. The child-assignment layout follows the
  // planner setting, or `childAssignCheck` when given.
  static HRESULT GenerateXMLDocument(const OrvPartConsumptionRecords& records, xercesc::DOMDocument* document,
                                     int effectivityMode, const OrvIPartConsumptionEIInfo* dialog);
  static HRESULT GenerateXMLDocument(const OrvPartConsumptionRecords& records, xercesc::DOMDocument* document,
                                     int effectivityMode, const OrvIPartConsumptionEIInfo* dialog, bool childAssignCheck);

  // The serializer. A null handle writes nothing.
  static void WriteToXML(OrvVekXMLOutput* handle, const xercesc::DOMNode* node);
  static void Write(OrvVekXMLOutput* handle, const TavUnicodeString& text);
  static void WriteToXML(OrvVekXMLOutput* handle, const XMLCh* domString);   // unchanged
  static void WriteToXML2(OrvVekXMLOutput* handle, const XMLCh* domString);  // & < > " escaped

  // The report as bytes: records (then one "---" record per unconsumed product)
  // built into a document and serialized.
  static std::string BuildReport(const OrvPartConsumptionRecords& results, const std::vector<Ref<TavBaseUnknown>>& unassigned,
                                 int effectivityMode, const OrvIPartConsumptionEIInfo* dialog, bool childAssignCheck);

  // Writes the report file. When the file cannot be created or written and the
  // application has a main window, one warning window says so; the previous
  // file at the path is left as it was. S_OK only when the file is complete.
  static HRESULT CreateXMLFile(const TavUnicodeString& path, const OrvPartConsumptionRecords& results,
                               const std::vector<Ref<TavBaseUnknown>>& unassigned, int effectivityMode,
                               const OrvIPartConsumptionEIInfo* dialog, OrvVekXMLExportStatus* status = nullptr);
  static HRESULT CreateXMLFile(const TavUnicodeString& path, const OrvPartConsumptionRecords& results,
                               const std::vector<Ref<TavBaseUnknown>>& unassigned, int effectivityMode,
                               const OrvIPartConsumptionEIInfo* dialog, bool childAssignCheck, OrvVekXMLExportStatus* status);

  // The effectivity attribute of a mode, or null for a mode that shows none.
  static const char* EffectivityAttribute(int mode);
};
