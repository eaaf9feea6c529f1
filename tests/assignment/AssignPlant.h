#pragma once
// A small plant for the assignment tests: products, resources (one robot that can
// carry a behaviour, one fastening robot, a gripper that cannot), a process.
#include "AssignmentModule.h"
#include "HostAssignment.h"
#include "HostRuntime.h"

struct AssignPlant {
  host::HostSession session;
  Ref<host::HostDocument> doc;
  Ref<host::HostRootActivity> root;
  Ref<host::HostActivity> load, weld;
  Ref<host::HostProduct> body, door, hinge, station, robot, gunRobot, gripper;

  explicit AssignPlant(bool hub = false) {
    RegisterAssignmentModule();
    doc = host::HostDocument::Create(hub);
    root = doc->CreateRootProcess("proc", "Process");
    load = doc->CreateActivity(root, "PhysicalActivity", "load", "Load");
    weld = doc->CreateActivity(root, "PhysicalActivity", "weld", "Weld");
    body = doc->CreateProduct(nullptr, "body", "Body.1");
    door = doc->CreateProduct(body, "door", "Door.1");
    hinge = doc->CreateProduct(door, "hinge", "Hinge.1");
    station = doc->CreateProduct(nullptr, "st", "Station.1", {}, true);
    station->SetResourceType("Station");
    robot = doc->CreateProduct(station, "rb", "Robot.1");
    robot->SetResourceType("Robot");
    gunRobot = doc->CreateProduct(station, "rb2", "Robot.2");
    gunRobot->SetResourceType("Robot");
    gunRobot->SetAttribute("_IsFasteningResource", true);
    gripper = doc->CreateProduct(robot, "gr", "Gripper.1");
    gripper->SetResourceType("Gripper");
    session.OpenDocument(doc);
  }
  host::HostAssignmentContainer* Assignment() { return host::AssignmentOf(*doc, false); }
  Ref<host::HostBehavior> BehaviorOf(const Ref<host::HostProduct>& r) {
    auto* c = Assignment();
    return c ? c->BehaviorOf(*r) : nullptr;
  }
};
