// mirt replace-product PLANT --product PATH [--with FILE] [--csv OUT] [--json]
// [-o OUT | --in-place]: the manufacturing components that depend on a product under
// the top node or on one of its descendants, saved as the dialog saves them, and with
// --with the product replaced by the product of a product document.
#include <filesystem>
#include <iostream>

#include "HostUndo.h"
#include "OrvVekReplaceProductCmd.h"
#include "Output.h"
#include "PlantDocument.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string plant, product, with, csv, out;
  bool inPlace = false;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

struct Line {
  std::string product, component, type, picked;
};

std::vector<Line> Lines(const OrvVekReplaceProductDlg& dialog) {
  std::vector<Line> lines;
  auto* list = dialog.ImpactedList();
  for (int row = 0; list && row < list->GetLineCount(); ++row)
    lines.push_back({list->GetColumnItem(0, row).utf8(), list->GetColumnItem(1, row).utf8(), list->GetColumnItem(2, row).utf8(),
                     list->GetColumnItem(3, row).utf8()});
  return lines;
}

int Run() {
  Options& o = Opt();
  if (o.with.empty() && (!o.out.empty() || o.inPlace)) throw mirt::VerbError("-o and --in-place save a replacement: give --with FILE");
  const std::string target = o.with.empty() ? std::string() : mirt::PlantOutput(o.plant, o.out, o.inPlace);
  // The list's file is checked before anything is changed or written.
  TavUnicodeString csv;
  if (!o.csv.empty()) {
    csv = OrvVekReplaceProductSaveDlg::WithCsvExtension(o.csv);
    const std::filesystem::path folder = std::filesystem::path(csv.utf8()).parent_path();
    std::error_code ec;
    if (o.csv.back() == '/' || std::filesystem::is_directory(csv.utf8(), ec))
      throw mirt::VerbError("--csv '" + o.csv + "': give a file name, not a folder");
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec))
      throw mirt::VerbError("--csv '" + o.csv + "': no folder '" + folder.string() + "'");
  }
  mirt::VerbSession plant(o.plant);
  auto& doc = plant.doc;
  TavPathElement p = doc->Resolve(o.product);
  if (p.IsEmpty()) throw mirt::VerbError("--product: no object at '" + o.product + "'");
  auto product = p.SearchFromLeaf<TavIProduct>();
  TavUnicodeString why;
  if (!OrvVekReplaceProductCmd::Accepts(product, &why)) throw mirt::VerbError("--product '" + o.product + "': " + why.utf8());

  OrvVekReplaceProductDlg dialog;
  dialog.Build();
  dialog.Set1stPrd(product);
  OrvVekReplaceProductCmd::ListImpacted(dialog, product);
  const std::string oldPath = doc->PathString(product);

  if (!o.with.empty()) {
    // All or nothing: a failure leaves the model as loaded and every file untouched.
    host::UndoScope job(*doc);
    std::string error;
    if (FAILED(OrvVekReplaceProductCmd::ReplaceListed(dialog, product, o.with, error)))
      throw mirt::VerbError("'" + o.product + "' was not replaced: " + error + "; nothing was written");
    job.Keep("replace product");
    std::string err;
    if (!host::SavePlant(*doc, target, err)) throw mirt::VerbError(err);
  }
  if (!o.csv.empty()) {
    OrvVekReplaceProductSaveDlg save(&dialog, nullptr, [] {});  // the text is made here, not on its OK
    save.Build();
    save.FileEditor()->SetText(csv);
    std::string text, error;
    dialog.RetriveResultsForSave(text);
    if (!save.SaveResultsInTextFile(text, &error)) throw mirt::VerbError(error);
  }

  const std::vector<Line> lines = Lines(dialog);
  if (o.format.Get() == mirt::Format::Json) {
    mirt::Json rows = mirt::Json::array();
    for (const auto& l : lines)
      rows.push_back({{"product", l.product}, {"component", l.component}, {"type", l.type}, {"picked", l.picked}});
    mirt::Json result = {{"plant", o.plant}, {"product", oldPath}, {"impacted", rows}};
    if (!o.csv.empty()) result["csv"] = csv.utf8();
    if (!o.with.empty()) result["replaced"] = {{"with", o.with}, {"product", doc->PathString(product)}, {"output", target}};
    mirt::PrintJson(std::cout, result);
    return 0;
  }
  std::cout << lines.size() << (lines.size() == 1 ? " component depends" : " components depend") << " on " << oldPath
            << " or its descendants\n";
  for (const auto& l : lines)
    std::cout << "  " << l.product << ": " << l.component << " (" << l.type << ")" << (l.picked == "Yes" ? ", the product itself" : "") << '\n';
  if (!o.with.empty()) std::cout << "replaced " << oldPath << " by the product of " << o.with << ": now " << doc->PathString(product) << '\n'
                                 << "saved " << target << '\n';
  if (!o.csv.empty()) std::cout << "list saved to " << csv.utf8() << '\n';
  return 0;
}

}  // namespace

mirt::Verb mirt::ReplaceProductVerb() {
  return mirt::Verb{"replace-product", "List what depends on a product, save the list, replace it by a product file", 37,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "The plant to read (and change with --with)")->required()->check(CLI::ExistingFile);
      sub.add_option("--product", o.product, "The product to replace, directly under Item.1 (path or #id)")->required();
      sub.add_option("--with", o.with, "The product document (*.TavProduct) whose product replaces it");
      sub.add_option("--csv", o.csv, "Save the impacted components list here (.csv appended to a name without it)");
      mirt::AddPlantOutputOptions(sub, o.out, o.inPlace);
      mirt::AddFormatFlags(sub, o.format);
      sub.footer("Lists one line per component depending on the product (picked: Yes) or on one of its descendants "
                 "(No). With --with, the product keeps its id, place, placement and the relations naming it and takes "
                 "the document's name, part number, attributes and children; links to old descendants move to the new "
                 "one of the same name path or go; the plant is saved to -o OUT or in place. Exit 0 when done, 1 on any "
                 "failure (an unknown path, a resource, a product not directly under Item.1, a file that is no product "
                 "document, a list file that cannot be written): then nothing is written.");
    },
    Run};
}
