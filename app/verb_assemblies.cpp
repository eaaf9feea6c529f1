// mirt assemblies PLANT --list [--json]
// mirt assemblies PLANT --modified [--json] | --new-version MA... | --all-modified | --link-ebom MA PRODUCT |
//   --unlink-ebom MA | --toggle-externally-produced MA | --add-child MA NAME  (-o OUT | --in-place)
// mirt assemblies PLANT --create NAME --part PATH... [--part-number PN] [--kit [--plan-type T]]
//   [--child-of MA] [--not-directly-changeable] (-o OUT | --in-place) [--json]
// Lists the manufactured assemblies and kits of a plant, or makes one by driving the
// same command a planner runs: the parts picked in order, name, part number and plan
// type typed into its dialog, then OK. A script doing the same saves the same bytes.
#include <iostream>
#include <unordered_set>

#include "AssemblyVersions.h"
#include "HostUndo.h"
#include "OrvMfgAssyDialog.h"
#include "Output.h"
#include "PlantDocument.h"
#include "TavDialog.h"
#include "TavMfgAssy.h"
#include "TextTable.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string plant, create, partNumber, planType, childOf, out;
  std::vector<std::string> parts;
  bool list = false, kit = false, notDirectlyChangeable = false, inPlace = false;
  bool createGiven = false;
  mirt::AssemblyVersionOptions versions;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

constexpr const char* kKitPlanTypes = "ergocompmanufacturingkit";

std::string IdOf(const Ref<TavBaseUnknown>& o) {
  auto identity = query<TavIModelIdentity>(o);
  return identity ? identity->GetId().utf8() : "";
}

mirt::Json Describe(host::HostDocument& doc, const Ref<OrvIMfgAssembly>& a) {
  std::vector<Ref<TavBaseUnknown>> parts;
  a->GetParts(parts);
  mirt::Json content = mirt::Json::array();
  for (auto& p : parts) content.push_back(doc.PathString(p));
  return {{"id", IdOf(a)},
          {"name", a->GetName().utf8()},
          {"path", doc.PathString(a)},
          {"partNumber", a->GetPartNumber().utf8()},
          {"type", a->GetType()},
          {"typeText", a->GetTypeText().utf8()},
          {"planType", a->GetPlanType().utf8()},
          {"notDirectlyChangeable", a->IsNotDirectlyChangeable()},
          {"content", content}};
}

int List(const Options& o) {
  mirt::VerbSession plant(o.plant);
  auto& doc = *plant.doc;
  auto all = OrvEMfgAssemblyFactory::GetMAsInContainer(plant.doc);
  if (o.format.Get() == mirt::Format::Json) {
    mirt::Json list = mirt::Json::array();
    for (auto& a : all) list.push_back(Describe(doc, a));
    mirt::PrintJson(std::cout, {{"plant", o.plant}, {"assemblies", list}});
    return 0;
  }
  if (all.empty()) {
    std::cout << "no manufactured assemblies in " << o.plant << '\n';
    return 0;
  }
  std::vector<std::vector<std::string>> rows{{"Assembly", "Type", "Part number", "Plan type", "Parts"}};
  for (auto& a : all) {
    std::vector<Ref<TavBaseUnknown>> parts;
    a->GetParts(parts);
    std::string type = a->GetTypeText().IsEmpty() ? "-" : a->GetTypeText().utf8();
    if (a->IsNotDirectlyChangeable()) type += " (not directly changeable)";
    rows.push_back({doc.PathString(a), type, a->GetPartNumber().utf8(), a->GetPlanType().utf8(), std::to_string(parts.size())});
  }
  mirt::PrintTable(std::cout, rows);
  std::cout << all.size() << (all.size() == 1 ? " assembly" : " assemblies") << '\n';
  return 0;
}

void SetField(TavDlgDialog& dialog, const char* widget, const std::string& value) {
  TavDlgWidget* w = dialog.Find(widget);
  std::string err;
  if (!w || !w->SetValueFromText(value, &err))
    throw mirt::VerbError(std::string("the dialog does not take ") + widget + " '" + value + "'" + (err.empty() ? "" : ": " + err));
}

void CheckPlanType(const Options& o) {
  if (o.planType.empty()) return;
  std::vector<TavUnicodeString> types;
  Ref<OrvIMHIPTSInfo> info;
  if (auto services = OrvIPLMTypeServices::OfSession(); services && SUCCEEDED(services->GetPTSInfo(info)) && info)
    info->GetSubTypes(kKitPlanTypes, types);
  if (std::find(types.begin(), types.end(), TavUnicodeString(o.planType)) != types.end()) return;
  std::string known;
  for (auto& t : types) known += (known.empty() ? "" : ", ") + t.utf8();
  throw mirt::VerbError("--plan-type '" + o.planType + "' is not a kit plan type of " + o.plant +
                        (known.empty() ? " (it lists none)" : " (" + known + ")"));
}

int Create(const Options& o) {
  if (o.kit && !o.childOf.empty()) throw mirt::VerbError("--child-of makes an assembly inside another; a kit is made on its own");
  if (o.kit && o.notDirectlyChangeable) throw mirt::VerbError("--not-directly-changeable marks an assembly, not a kit");
  if (!o.childOf.empty() && o.notDirectlyChangeable)
    throw mirt::VerbError("--child-of and --not-directly-changeable are two different commands; give one");
  if (o.parts.empty()) throw mirt::VerbError("--create needs at least one --part");
  const std::string target = mirt::PlantOutput(o.plant, o.out, o.inPlace);

  mirt::VerbSession plant(o.plant);
  auto& doc = *plant.doc;
  CheckPlanType(o);
  // Every path first: a bad one changes nothing.
  std::vector<TavPathElement> picks;
  std::unordered_set<const TavBaseUnknown*> seen;
  for (auto& p : o.parts) {
    TavPathElement e = doc.Resolve(p);
    if (e.IsEmpty()) throw mirt::VerbError("--part: no object at '" + p + "'");
    // A second pick of an object takes it out again: a repeated part is a mistake.
    if (!seen.insert(e.GetLeaf()->ExtendedObject().get()).second) throw mirt::VerbError("--part '" + p + "' is given twice");
    picks.push_back(std::move(e));
  }
  TavPathElement father;
  if (!o.childOf.empty()) {
    father = doc.Resolve(o.childOf);
    if (father.IsEmpty()) throw mirt::VerbError("--child-of: no object at '" + o.childOf + "'");
    if (!query<OrvIMfgAssembly>(father.GetLeaf()))
      throw mirt::VerbError("--child-of '" + o.childOf + "' is no manufactured assembly");
  }

  const char* command = o.kit                      ? "OrvMfgKitCmd"
                        : !o.childOf.empty()       ? "OrvMfgAssyAsChildCmd"
                        : o.notDirectlyChangeable  ? "OrvMfgAssyNotDirectChangeableCmd"
                                                   : "OrvMfgAssyCmd";
  const auto before = OrvEMfgAssemblyFactory::GetMAsInContainer(plant.doc);
  // All or nothing: a failure leaves the model as loaded and the file untouched.
  host::UndoScope job(doc);
  std::string err;
  if (!plant.engine.Start("Mirtcommands", command, &err)) throw mirt::VerbError(err);
  if (!father.IsEmpty() && !plant.engine.Pick(father, &err))
    throw mirt::VerbError("--child-of '" + o.childOf + "': the command does not take it (" + err + ")");
  for (std::size_t i = 0; i < picks.size(); ++i)
    if (!plant.engine.Pick(picks[i], &err))
      throw mirt::VerbError("--part '" + o.parts[i] + "': the " + (o.kit ? "kit" : "assembly") +
                            " command refuses it (" +
                            (o.kit ? "a product marked YorWSC, or an assembly that is or contains the kit"
                                   : "a resource, a hub product without a PLM id, or an assembly that would contain "
                                     "itself") +
                            ")");
  TavDlgDialog* dialog = TavDlgDialog::FindByName(OrvMfgAssyDialog::kName);
  if (!dialog) throw mirt::VerbError(std::string(command) + " shows no dialog");
  SetField(*dialog, "Name", o.create);
  SetField(*dialog, "PartNumber", o.partNumber);
  if (!o.planType.empty()) {
    if (!dialog->Find("Combo")) throw mirt::VerbError("the kit dialog offers no plan types");
    SetField(*dialog, "Combo", o.planType);
  }
  dialog->Notify(TavDlgNotification::OK);
  if (std::string e = plant.engine.TakeError(); !e.empty()) throw mirt::VerbError(e);
  if (plant.engine.RunningCommand()) throw mirt::VerbError(std::string(command) + " did not end on OK");

  Ref<OrvIMfgAssembly> made;
  const auto after = OrvEMfgAssemblyFactory::GetMAsInContainer(plant.doc);
  std::unordered_set<const TavBaseUnknown*> old;
  for (auto& a : before) old.insert(a->ExtendedObject().get());
  for (auto& a : after)
    if (!old.count(a->ExtendedObject().get())) made = a;
  if (!made) throw mirt::VerbError(std::string(command) + " made no assembly");
  job.Keep(o.kit ? "create kit" : "create assembly");
  if (!host::SavePlant(doc, target, err)) throw mirt::VerbError(err);

  if (o.format.Get() == mirt::Format::Json) {
    mirt::Json j = Describe(doc, made);
    mirt::PrintJson(std::cout, {{"plant", o.plant}, {"output", target}, {"command", command},
                                {"father", o.childOf.empty() ? "" : doc.PathString(father.GetLeaf())}, {"created", j}});
  } else {
    std::vector<Ref<TavBaseUnknown>> parts;
    made->GetParts(parts);
    std::cout << "created " << (o.kit ? "kit " : "assembly ") << doc.PathString(made) << " (#" << IdOf(made) << ")";
    if (!o.childOf.empty()) std::cout << " inside " << doc.PathString(father.GetLeaf());
    std::cout << " with " << parts.size() << (parts.size() == 1 ? " part" : " parts") << '\n';
    for (auto& p : parts) std::cout << "  " << doc.PathString(p) << '\n';
    std::cout << "saved " << target << '\n';
  }
  return 0;
}

int Run() {
  const Options& o = Opt();
  if (const std::string op = o.versions.Given(); !op.empty()) {
    if (o.list || o.createGiven) throw mirt::VerbError(op + " cannot be given with --list or --create");
    const std::string target = op == "--modified" ? std::string() : mirt::PlantOutput(o.plant, o.out, o.inPlace);
    return mirt::RunAssemblyVersions(o.plant, target, o.versions, o.format.Get());
  }
  if (o.list == o.createGiven) throw mirt::VerbError("give --list, --create NAME or one of the versioning options");
  if (!o.planType.empty() && !o.kit) throw mirt::VerbError("--plan-type is a kit's: give --kit too");
  if (o.list) {
    if (!o.parts.empty() || o.kit || !o.childOf.empty() || o.notDirectlyChangeable || !o.partNumber.empty() ||
        !o.out.empty() || o.inPlace)
      throw mirt::VerbError("--list takes no creation options");
    return List(o);
  }
  return Create(o);
}

}  // namespace

mirt::Verb mirt::AssembliesVerb() {
  return mirt::Verb{"assemblies", "List manufactured assemblies and kits, or make one from parts, resources and assemblies", 39,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "The plant")->required()->check(CLI::ExistingFile);
      sub.add_flag("--list", o.list, "List the assemblies and kits with type, part number, plan type and content");
      sub.add_option("--create", o.create, "Make an assembly (or with --kit a kit) of this name; an empty name gives "
                                           "the command's default name")
          ->each([&o](const std::string&) { o.createGiven = true; });
      sub.add_option("--part", o.parts, "A product, resource (kits only) or assembly to put in, in order (path or #id)");
      sub.add_option("--part-number", o.partNumber, "The new assembly's part number");
      sub.add_flag("--kit", o.kit, "Make a manufacturing kit");
      sub.add_option("--plan-type", o.planType, "The kit's plan type, one the plant's catalogue lists for kits");
      sub.add_option("--child-of", o.childOf, "Make the assembly inside this one");
      sub.add_flag("--not-directly-changeable", o.notDirectlyChangeable, "Mark the new assembly as not directly changeable");
      auto& v = o.versions;
      sub.add_flag("--modified", v.modified, "List the assemblies changed since their last version and those containing them");
      sub.add_option("--new-version", v.newVersion, "Make new versions of these assemblies and of those containing them")->expected(1, -1);
      sub.add_flag("--all-modified", v.allModified, "Make new versions of every modified assembly and of those containing them");
      sub.add_option("--link-ebom", v.linkEbom, "MA PRODUCT: link the assembly to the engineering product it realises")->expected(2);
      sub.add_option("--unlink-ebom", v.unlinkEbom, "Remove the assembly's link to its engineering product");
      sub.add_option("--toggle-externally-produced", v.toggleExternallyProduced, "Toggle whether the assembly is produced outside the plant");
      sub.add_option("--add-child", v.addChild, "MA NAME: a new assembly in MA, and an operation making it for MA's producer")->expected(2);
      mirt::AddPlantOutputOptions(sub, o.out, o.inPlace);
      mirt::AddFormatFlags(sub, o.format);
      sub.footer("--create runs the planner's command: the parts are picked in the order given, the name, part "
                 "number and plan type typed into its dialog, then OK. A part the command refuses, an unknown plan "
                 "type or a --child-of that is no assembly stops the verb: exit 1, nothing written.");
    },
    Run};
}
