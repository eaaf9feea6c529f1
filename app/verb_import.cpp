// mirt import PLANT FILE [--activity PATH] (-o OUT | --in-place) [--json]: fills an
// activity from a "SCOPES" process file as the process file command does, and saves.
#include <iostream>

#include "HostUndo.h"
#include "Output.h"
#include "TavMirtParseProcessFile.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string plant, file, activity, out;
  bool inPlace = false;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

Ref<TavISPPActivity> Target(const host::HostDocument& doc, const std::string& path) {
  if (path.empty()) {
    if (doc.Process().roots_.empty()) throw mirt::VerbError("the plant has no process to import into: give --activity");
    return doc.Process().roots_.front();
  }
  auto leaf = doc.Resolve(path).GetLeaf();
  if (!leaf) throw mirt::VerbError("--activity: nothing at '" + path + "'");
  auto activity = query<TavISPPActivity>(leaf);
  if (!activity) throw mirt::VerbError("--activity: '" + path + "' is no activity");
  return activity;
}

int Run() {
  Options& o = Opt();
  const std::string target = mirt::PlantOutput(o.plant, o.out, o.inPlace);
  // The file is read whole before the plant is touched: a broken one changes nothing.
  std::string text, error;
  if (!TavMirtParseProcessFile::ReadFile(o.file, text)) throw mirt::VerbError("cannot read process file '" + o.file + "'");
  TavMirtProcessFile file;
  switch (TavMirtProcessFile::Parse(text, file, &error)) {
    case TavMirtProcessFile::Status::NotScopes:
      throw mirt::VerbError(o.file + ": not a SCOPES process file (its first line must begin with \"SCOPE\"); nothing was written");
    case TavMirtProcessFile::Status::Broken:
      throw mirt::VerbError(o.file + ":" + error + "; nothing was written");
    case TavMirtProcessFile::Status::Read:
      break;
  }
  mirt::VerbSession plant(o.plant);
  auto& doc = plant.doc;
  auto activity = Target(*doc, o.activity);
  TavMirtImportReport report;
  {
    host::UndoScope job(*doc);
    if (!TavMirtApplyProcessFile(activity, file, report, &error))
      throw mirt::VerbError(o.file + ": nothing was imported: " + error);
    job.Keep("import process file");
  }
  if (!host::SavePlant(*doc, target, error)) throw mirt::VerbError(error);

  const std::string where = doc->PathString(activity);
  if (o.format.Get() == mirt::Format::Json) {
    mirt::Json ops = mirt::Json::array(), fallbacks = mirt::Json::array(), links = mirt::Json::array();
    for (const auto& a : report.created) ops.push_back({{"path", doc->PathString(a)}, {"type", a->GetTypeName().utf8()}});
    for (const auto& f : report.fallbacks) fallbacks.push_back({{"operation", f.label}, {"type", f.type}});
    for (const auto& l : report.links)
      links.push_back({{"source", l.source}, {"target", l.target}, {"line", l.line}, {"result", l.result}});
    mirt::PrintJson(std::cout, {{"plant", o.plant}, {"file", o.file}, {"activity", where}, {"label", file.label},
                                {"latin1", file.latin1}, {"operations", ops}, {"fallbacks", fallbacks}, {"links", links},
                                {"output", target}});
    return 0;
  }
  std::cout << "imported " << o.file << " into " << where << ": " << report.created.size()
            << (report.created.size() == 1 ? " operation" : " operations") << (file.latin1 ? " (read as Latin-1)" : "") << '\n';
  for (const auto& f : report.fallbacks)
    std::cout << "  " << f.label << ": type " << f.type << " is unknown here, made a PhysicalActivity\n";
  const int made = report.Count("made"), existing = report.Count("existing");
  const int skipped = static_cast<int>(report.links.size()) - made - existing;
  std::cout << made << (made == 1 ? " link" : " links") << " made";
  if (existing) std::cout << ", " << existing << " already there";
  std::cout << ", " << skipped << " skipped\n";
  for (const auto& l : report.links)
    if (l.result != "made" && l.result != "existing")
      std::cout << "  line " << l.line << ": " << l.source << " -> " << l.target << ": " << l.result << '\n';
  std::cout << "saved " << target << '\n';
  return 0;
}

}  // namespace

mirt::Verb mirt::ImportVerb() {
  return mirt::Verb{"import", "Fill an activity from a SCOPES process file (one linked child per operation)", 38,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "The plant to change")->required()->check(CLI::ExistingFile);
      sub.add_option("file", o.file, "The process file (docs/process-file.md)")->required();
      sub.add_option("--activity", o.activity, "The activity to fill (path or #id); default: the first process");
      mirt::AddPlantOutputOptions(sub, o.out, o.inPlace);
      mirt::AddFormatFlags(sub, o.format);
      sub.footer("The activity takes the file's label and description; each operation becomes a child activity "
                 "(appended; a type the plant does not know becomes a PhysicalActivity) with its time, an "
                 "\"ImageFile\" attribute and a description of its resources, components and welds; each link joins "
                 "the first child of each label, children that were there before included (a label no child has is "
                 "skipped). Exit 0 when imported and saved; 1 when the file cannot be read, is no SCOPES file or is "
                 "broken (FILE:LINE: what), or the activity is unknown: then nothing is written.");
    },
    Run};
}
