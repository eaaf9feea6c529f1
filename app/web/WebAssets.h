#pragma once
// The browser page's files (web/), embedded in the program at build time.
#include <string_view>
#include <vector>

namespace mirt::web {

struct WebAsset {
  std::string_view name;  // "index.html", "app.js", "app.css"
  std::string_view bytes;
};

const std::vector<WebAsset>& WebAssets();

}  // namespace mirt::web
