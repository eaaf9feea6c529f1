#pragma once
// Small plants built in code for the time solver's tests.
#include <gtest/gtest.h>

#include "HostAssignment.h"
#include "HostModel.h"
#include "TavGraph.h"

namespace timingtest {

using host::HostActivity;
using host::HostDocument;

struct Plant {
  Ref<HostDocument> doc = HostDocument::Create();
  Ref<host::HostRootActivity> root = doc->CreateRootProcess("p", "Process");

  Ref<HostActivity> Add(const Ref<HostActivity>& father, const std::string& label, double time,
                        const std::string& type = "PhysicalActivity") {
    auto a = doc->CreateActivity(father ? father : root, type, "", label);
    a->SetTime(time);
    return a;
  }
  static void Flow(const Ref<HostActivity>& from, const Ref<HostActivity>& to) { ASSERT_EQ(from->AddControlFlowLink(to), S_OK); }
  static void Precedence(const Ref<HostActivity>& before, const Ref<HostActivity>& after) {
    ASSERT_EQ(after->AddPrecedence(before), S_OK);
  }
};

inline HRESULT Solve(const Ref<TavBaseUnknown>& root, std::string* error = nullptr) {
  OrvModelTimeSolver solver;
  const HRESULT hr = solver.FullSolve(root);
  if (error) *error = solver.GetError().utf8();
  return hr;
}

inline Ref<OrvITimedActivity> Timed(const Ref<TavBaseUnknown>& a) { return query<OrvITimedActivity>(a); }

}  // namespace timingtest
