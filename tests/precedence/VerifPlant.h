#pragma once
// A small plant for the verification tests: a root with two stations whose
// children are ordered by precedences, products assigned to each activity, and a
// resource per station.
#include "HostRuntime.h"
#include "TavVisu.h"

struct VerifPlant {
  host::HostSession session;
  Ref<host::HostDocument> doc;
  Ref<host::HostRootActivity> root;
  // st1: a -> b -> c (a before b before c), d unordered; st2 after st1: e -> f.
  Ref<host::HostActivity> st1, st2, a, b, c, d, e, f;
  Ref<host::HostProduct> body, pa, pb, pc, pd, pe, loose, station, robot;

  VerifPlant() {
    doc = host::HostDocument::Create();
    root = doc->CreateRootProcess("proc", "Process");
    st1 = Act(root, "st1", "Station 1");
    st2 = Act(root, "st2", "Station 2");
    a = Act(st1, "a", "A");
    b = Act(st1, "b", "B");
    c = Act(st1, "c", "C");
    d = Act(st1, "d", "D");
    e = Act(st2, "e", "E");
    f = Act(st2, "f", "F");
    Before(a, b);
    Before(b, c);
    Before(st1, st2);
    Before(e, f);
    body = doc->CreateProduct(nullptr, "body", "Body.1");
    pa = Part("pa", a);
    pb = Part("pb", b);
    pc = Part("pc", c);
    pd = Part("pd", d);
    pe = Part("pe", e);
    loose = doc->CreateProduct(body, "loose", "Loose.1");
    station = doc->CreateProduct(nullptr, "rs", "Station.1", {}, true);
    robot = doc->CreateProduct(station, "rr", "Robot.1", {}, true);
    query<TavISPPResourceManagement>(Ref<TavBaseUnknown>(b))->AddResource(robot, TavResourceCode::Uses);
    session.OpenDocument(doc);
  }
  Ref<host::HostActivity> Act(const Ref<host::HostActivity>& father, const char* id, const char* label) {
    return doc->CreateActivity(father, "PhysicalActivity", id, label);
  }
  // `first` must be done before `then`.
  static void Before(const Ref<host::HostActivity>& first, const Ref<host::HostActivity>& then) {
    query<TavISPPPrecedenceMgt>(Ref<TavBaseUnknown>(then))->AddPrecedence(first);
  }
  Ref<host::HostProduct> Part(const char* id, const Ref<host::HostActivity>& by) {
    auto p = doc->CreateProduct(body, id, id);
    query<TavISPPItemMgt>(Ref<TavBaseUnknown>(by))->AddItem(p, TavItemCode::Processes);
    return p;
  }
  static int Colour(const Ref<host::HostProduct>& p) { return query<TavI3DGeoVisu>(Ref<TavBaseUnknown>(p))->GetColorIndex(); }
  static bool Shown(const Ref<host::HostProduct>& p) { return query<TavIVisProperties>(Ref<TavBaseUnknown>(p))->IsShown(); }
};
