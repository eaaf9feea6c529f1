#pragma once
// Object and node paths as text: names separated by "/", where "\" takes the next
// character as it is ("\/" a slash inside a name, "\\" a backslash).
#include <string>
#include <string_view>
#include <vector>

// The names of a path, unescaped; "" gives one empty name.
inline std::vector<std::string> TavSplitPathText(std::string_view path) {
  std::vector<std::string> out(1);
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '\\' && i + 1 < path.size()) out.back() += path[++i];
    else if (path[i] == '/') out.emplace_back();
    else out.back() += path[i];
  }
  return out;
}
