#pragma once
// The XML under the plant loader: a stream of start tags, non-blank text and end
// tags, each start tag with the position where it ends (line and column, 1-based,
// columns in UTF-16 units as Xerces counts them). Not for use outside host/plant/.
#include <cstdint>
#include <string>
#include <string_view>

namespace host {
namespace plant {

struct XmlAttr {
  std::string_view name, value;
};
struct XmlStart {
  std::string_view name;
  const XmlAttr* attrs;
  std::size_t count;
  std::uint32_t line, column;
};

class XmlSink {
public:
  virtual ~XmlSink() = default;
  // Each returns false to stop the parse; the sink has recorded why.
  virtual bool Start(const XmlStart& e) = 0;
  virtual bool Text() = 0;  // text other than white space in the current element
  virtual bool End() = 0;
};

// Reads `bytes` (or, when `path` is given, the file) into `sink`. Malformed XML, a
// DOCTYPE (refused as soon as it starts, before any entity is declared or expanded)
// or an unreadable file gives false and "fileName:line:column: message" in `error`;
// a stop by the sink gives false and leaves `error` empty. Nothing outside the input
// is ever read: no DTD, no external entity.
//
// Expat reads UTF-8 XML 1.0, which is what the writer produces unless a text needs
// XML 1.1; a document in XML 1.1 or another encoding is read by Xerces' SAX2 parser.
// `sizeHint` receives the input's size before the first event.
bool ReadXml(const std::string* bytes, const std::string* path, const std::string& fileName, XmlSink& sink,
             std::string& error, std::size_t* sizeHint = nullptr);

}  // namespace plant
}  // namespace host
