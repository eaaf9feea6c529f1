#pragma once
// A small plant for the replacement tests: a process whose root and two same-named
// activities use Robot.1, one activity that holds it as an attached item only, and
// a spare robot (with a gun) at the top of the resource list.
#include "HostRuntime.h"
#include "ReplaceCopyModule.h"

struct ReplacePlant {
  host::HostSession session;
  Ref<host::HostDocument> doc;
  Ref<host::HostRootActivity> root;
  Ref<host::HostActivity> cell, weldA, weldB, load, attach;
  Ref<host::HostProduct> body, station, robot, gun, spare, spareGun, crane;

  explicit ReplacePlant(bool hub = false) {
    RegisterReplaceCopyModule();
    doc = host::HostDocument::Create(hub);
    root = doc->CreateRootProcess("proc", "Line");
    weldA = doc->CreateActivity(root, "PhysicalActivity", "wa", "Weld");
    cell = doc->CreateActivity(root, "Activity", "cell", "Cell");
    weldB = doc->CreateActivity(cell, "PhysicalActivity", "wb", "Weld");
    load = doc->CreateActivity(cell, "PhysicalActivity", "load", "Load");
    attach = doc->CreateActivity(cell, "PhysicalActivity", "att", "Attach");
    body = doc->CreateProduct(nullptr, "body", "Body.1");
    station = doc->CreateProduct(nullptr, "st", "Station.1", {}, true);
    station->SetResourceType("Station");
    robot = doc->CreateProduct(station, "rb", "Robot.1", "RB-100");
    robot->SetResourceType("Robot");
    robot->SetPosition({1, 0, 0, 0, 1, 0, 0, 0, 1, 500, 20, 0});
    gun = doc->CreateProduct(robot, "gun", "Gun.1");
    spare = doc->CreateProduct(nullptr, "spare", "Robot.9", "RB-200", true);
    spare->SetResourceType("Robot");
    spareGun = doc->CreateProduct(spare, "sgun", "Gun.9");
    crane = doc->CreateProduct(nullptr, "crane", "Crane.1", {}, true);
    crane->SetResourceType("Crane");
    for (auto& a : {Ref<host::HostActivity>(root), weldA, weldB}) a->AddResource(robot, TavResourceCode::Uses);
    load->AddResource(crane, TavResourceCode::Uses);
    attach->AddItem(robot, TavItemCode::Attaches);
    session.OpenDocument(doc);
  }
};
