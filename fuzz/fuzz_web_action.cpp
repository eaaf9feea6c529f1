// The browser page's actions from arbitrary bytes, as the server takes them: JSON that
// may be anything, run against a session on a copy of the sample plant. Never a crash;
// a refusal is a 4xx answer with an error text.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Startup.h"
#include "WebSession.h"
#include "XercesInit.h"

namespace {
mirt::web::WebSession* g_session = nullptr;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  namespace fs = std::filesystem;
  mirt::StartUp();
  support::EnsureXerces();
  const fs::path dir = fs::temp_directory_path() / "mirt-fuzz-web";
  fs::create_directories(dir / "out");
  fs::copy_file(fs::path(MIRT_DATA_DIR) / "sample-plant.xml", dir / "plant.xml", fs::copy_options::overwrite_existing);
  g_session = new mirt::web::WebSession(dir.string(), (dir / "out").string());
  std::string error;
  if (!g_session->Open((dir / "plant.xml").string(), &error)) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto action = mirt::web::Json::parse(data, data + size, nullptr, false);
  if (action.is_discarded()) return 0;
  const mirt::web::Answer a = g_session->Act(action);
  if (a.status != 200 && (a.status < 400 || a.status >= 500 || !a.body.contains("error"))) std::abort();
  return 0;
}
