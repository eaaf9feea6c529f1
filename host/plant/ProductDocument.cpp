#include "ProductDocument.h"

#include <fstream>
#include <sstream>

#include "PlantDocument.h"
#include "PlantXml.h"

namespace host {

namespace {

// The outline a product document keeps to: <plant>, one <products>, one <product>
// in it. The plant loader then reads the whole file as strictly as any plant.
class OutlineCheck final : public plant::XmlSink {
public:
  explicit OutlineCheck(std::string fileName) : fileName_(std::move(fileName)) {}
  bool Start(const plant::XmlStart& e) override {
    ++depth_;
    if (depth_ == 1) return true;  // the loader names a root that is no <plant>
    if (depth_ == 2) {
      if (e.name != "products") return Fail(e, "a product document holds only <products>, not <" + std::string(e.name) + ">");
      if (++sections_ > 1) return Fail(e, "a product document holds one <products>");
    } else if (depth_ == 3) {
      if (e.name == "product" && ++roots_ > 1) return Fail(e, "a product document holds one root product");
    }
    return true;
  }
  bool Text() override { return true; }
  bool End() override {
    --depth_;
    return true;
  }
  const std::string& Error() const { return error_; }
  bool HasRoot() const { return roots_ == 1; }

private:
  bool Fail(const plant::XmlStart& e, const std::string& why) {
    error_ = fileName_ + ":" + std::to_string(e.line) + ":" + std::to_string(e.column) + ": " + why;
    return false;
  }
  std::string fileName_, error_;
  int depth_ = 0, sections_ = 0, roots_ = 0;
};

}  // namespace

Ref<HostDocument> ParseProductDocument(const std::string& bytes, const std::string& fileName, std::string& error) {
  error.clear();
  OutlineCheck outline(fileName);
  if (!plant::ReadXml(&bytes, nullptr, fileName, outline, error)) {
    if (error.empty()) error = outline.Error();
    return nullptr;
  }
  Ref<HostDocument> doc = ParsePlant(bytes, fileName, error);
  if (!doc) return nullptr;
  if (!outline.HasRoot() || doc->Products().roots_.size() != 1) {
    error = fileName + ":1:1: a product document holds one root product under <products>";
    return nullptr;
  }
  return doc;
}

Ref<HostDocument> LoadProductDocument(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot be read";
    return nullptr;
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) {
    error = path + ": cannot be read";
    return nullptr;
  }
  return ParseProductDocument(bytes.str(), path, error);
}

}  // namespace host
