// The resource type libraries: small text files under <resources>/resourcetypes,
// read afresh on each request so that an edited library is seen at the next form.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unordered_set>

#include "HostResources.h"
#include "HostRuntime.h"

namespace host {

namespace {

constexpr std::size_t kMaxBytes = std::size_t(1) << 20;
constexpr std::size_t kMaxName = 64;
constexpr const char* kHeader = "resource-types 1";

bool NameChar(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
}

// Why `name` cannot be a type name, or empty.
std::string NameProblem(std::string_view name) {
  if (name.empty()) return "a type needs a name";
  if (name.size() > kMaxName) return "a type name has at most " + std::to_string(kMaxName) + " characters";
  const auto first = static_cast<unsigned char>(name.front());
  if (!((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')))
    return "a type name begins with a letter";
  for (unsigned char c : name)
    if (!NameChar(c)) return "a type name holds only letters, digits, '_', '-' and '.'";
  return {};
}

// A library name is a file of the type folder, never a path out of it.
std::string LibraryProblem(const std::string& library) {
  if (library.empty()) return "no resource type library named";
  if (library.find_first_of(std::string_view("/\\\0", 3)) != std::string::npos || library == "." || library == "..")
    return "resource type library '" + library + "' is not a file name";
  return {};
}

class HostResourceTypeList final : public TavResourceTypeList {
public:
  HRESULT GetResourceTypes(const TavUnicodeString& library, std::vector<TavUnicodeString>& types,
                           std::string& error) override {
    types.clear();
    error.clear();
    const std::string name = library.utf8();
    if (std::string why = LibraryProblem(name); !why.empty()) {
      error = why;
      return E_FAIL;
    }
    const std::filesystem::path path = std::filesystem::path(ResourceTypeFolder()) / name;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
      error = path.string() + ": cannot be read: " + (ec ? ec.message() : std::string("no such file"));
      return E_FAIL;
    }
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxBytes) {
      error = path.string() + ": " + (ec ? "cannot be read: " + ec.message() : "larger than 1 MiB");
      return E_FAIL;
    }
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
      error = path.string() + ": cannot be read: " + std::strerror(errno);
      return E_FAIL;
    }
    return ParseResourceTypes(text, path.string(), types, error) ? S_OK : E_FAIL;
  }
};

}  // namespace

std::string ResourceTypeFolder() { return (ResourceDir() / "resourcetypes").string(); }

bool ParseResourceTypes(const std::string& text, const std::string& fileName, std::vector<TavUnicodeString>& types,
                        std::string& error) {
  types.clear();
  auto fail = [&](std::size_t line, const std::string& why) {
    error = fileName + ":" + std::to_string(line) + ": " + why;
    types.clear();
    return false;
  };
  if (text.size() > kMaxBytes) return fail(1, "larger than 1 MiB");
  if (text.find('\0') != std::string::npos) {
    const auto line = 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(text.find('\0')), '\n'));
    return fail(line, "a NUL byte: this is no text file");
  }
  std::unordered_set<std::string> seen;
  bool header = false;
  std::size_t lineNo = 0, start = 0;
  while (start < text.size()) {
    ++lineNo;
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    if (line.find_first_of("\t\r") != std::string_view::npos) return fail(lineNo, "a tab or carriage return inside a line");
    if (line.front() == ' ' || line.back() == ' ') return fail(lineNo, "spaces before or after the line's words");
    if (!header) {
      if (line != kHeader) return fail(lineNo, std::string("expected \"") + kHeader + "\" before any type");
      header = true;
      continue;
    }
    if (line.substr(0, 5) != "type ") return fail(lineNo, "expected \"type NAME\"");
    std::string_view name = line.substr(5);
    if (std::string why = NameProblem(name); !why.empty()) return fail(lineNo, why);
    if (!seen.insert(std::string(name)).second) return fail(lineNo, "type '" + std::string(name) + "' listed twice");
    types.emplace_back(std::string(name));
  }
  if (!header) return fail(lineNo ? lineNo : 1, std::string("expected \"") + kHeader + "\": the file holds no library");
  if (types.empty()) return fail(lineNo, "the library lists no type");
  return true;
}

void RegisterResourceTypes() {
  static HostResourceTypeList list;
  TavResourceTypeList::Install(&list);
}

}  // namespace host
