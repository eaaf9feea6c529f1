// The plant loader's XML stream: expat for UTF-8 XML 1.0, Xerces SAX2 for the rest.
#include "PlantXml.h"

#include <expat.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/sax/EntityResolver.hpp>
#include <xercesc/sax/Locator.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/sax2/Attributes.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLUni.hpp>

#include "PlantFormat.h"
#include "Progress.h"
#include "XercesInit.h"

namespace host {
namespace plant {

namespace {

constexpr const char* kDoctype = "DOCTYPE declarations are not allowed in a plant file";

std::string At(const std::string& file, std::uint64_t line, std::uint64_t column, const std::string& message) {
  return file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
}

bool Blank(const char* s, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    if (s[i] != ' ' && s[i] != '\t' && s[i] != '\n' && s[i] != '\r') return false;
  return true;
}

bool SameName(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if ((*a | 0x20) != (*b | 0x20)) return false;
  return *a == *b;
}

// A byte order mark or zero bytes up front: UTF-16 or UTF-32, not for expat here.
bool WideStart(const char* p, std::size_t n) {
  if (n < 2) return false;
  auto b0 = static_cast<unsigned char>(p[0]), b1 = static_cast<unsigned char>(p[1]);
  return (b0 == 0xFE && b1 == 0xFF) || (b0 == 0xFF && b1 == 0xFE) || b0 == 0 || b1 == 0;
}

// ------------------------------------------------------------------ expat
class ExpatReader {
public:
  ExpatReader(const std::string& file, XmlSink& sink, std::string& error)
      : file_(file), sink_(sink), error_(error), p_(XML_ParserCreate(nullptr)) {
    if (!p_) throw std::bad_alloc();
    XML_SetUserData(p_, this);
    XML_SetParamEntityParsing(p_, XML_PARAM_ENTITY_PARSING_NEVER);
    XML_SetXmlDeclHandler(p_, &ExpatReader::OnXmlDecl);
    XML_SetStartDoctypeDeclHandler(p_, &ExpatReader::OnDoctype);
    XML_SetElementHandler(p_, &ExpatReader::OnStart, &ExpatReader::OnEnd);
    XML_SetCharacterDataHandler(p_, &ExpatReader::OnText);
  }
  ~ExpatReader() { XML_ParserFree(p_); }
  ExpatReader(const ExpatReader&) = delete;
  ExpatReader& operator=(const ExpatReader&) = delete;

  // Needs another parser: XML 1.1 or an encoding other than UTF-8.
  bool Foreign() const { return foreign_; }

  bool Parse(const char* data, std::size_t size, bool last) {
    if (stopped_) return false;
    while (size > 0 || last) {
      int n = static_cast<int>(std::min<std::size_t>(size, 1 << 30));
      bool final = last && static_cast<std::size_t>(n) == size;
      if (XML_Parse(p_, data, n, final) != XML_STATUS_OK) return Failed();
      data += n;
      size -= static_cast<std::size_t>(n);
      if (final) break;
    }
    return true;
  }

  // Reads the file in chunks straight into expat's buffer: the file is never whole in memory.
  bool ParseFile(std::FILE* f, std::size_t size) {
    constexpr int kChunk = 1 << 20;
    bool first = true;
    support::Progress progress("loading " + file_, size, "bytes");
    std::size_t done = 0;
    for (;;) {
      progress.Set(done);
      void* buf = XML_GetBuffer(p_, kChunk);
      if (!buf) return Failed();
      std::size_t n = std::fread(buf, 1, kChunk, f);
      if (std::ferror(f)) {
        error_ = file_ + ": cannot read the plant file";
        return false;
      }
      if (first && WideStart(static_cast<const char*>(buf), n)) {
        foreign_ = true;
        return false;
      }
      first = false;
      done += n;
      if (XML_ParseBuffer(p_, static_cast<int>(n), n == 0) != XML_STATUS_OK) return Failed();
      if (n == 0) return true;
    }
  }

private:
  bool Failed() {
    if (!stopped_)
      error_ = At(file_, XML_GetCurrentLineNumber(p_), XML_GetCurrentColumnNumber(p_) + 1,
                  XML_ErrorString(XML_GetErrorCode(p_)));
    return false;
  }
  void Stop() {
    stopped_ = true;
    XML_StopParser(p_, XML_FALSE);
  }

  // Columns as Xerces counts them: UTF-16 units, so a character beyond U+FFFF is two.
  static void Advance(const unsigned char* p, const unsigned char* end, std::uint32_t& line, std::uint32_t& column) {
    for (; p < end; ++p) {
      unsigned char c = *p;
      if (c == '\n' || (c == '\r' && !(p + 1 < end && p[1] == '\n'))) {
        ++line;
        column = 1;
      } else if (c != '\r' && (c & 0xC0) != 0x80) {
        column += c >= 0xF0 ? 2 : 1;
      }
    }
  }

  // Where the current start tag ends: its line as expat counts, its column from the
  // start of that line when the line is still in expat's buffer, then its own bytes.
  // A tag on the line where the previous one ended counts on from that one's end,
  // so that a plant written on one long line is not rescanned per tag.
  void TagEnd(std::uint32_t& line, std::uint32_t& column) {
    line = static_cast<std::uint32_t>(XML_GetCurrentLineNumber(p_));
    column = static_cast<std::uint32_t>(XML_GetCurrentColumnNumber(p_)) + 1;
    int offset = 0, size = 0;
    const char* buf = XML_GetInputContext(p_, &offset, &size);
    int count = XML_GetCurrentByteCount(p_);
    if (!buf || count <= 0 || offset + count > size) {
      last_.valid = false;
      return;
    }
    const auto* base = reinterpret_cast<const unsigned char*>(buf);
    const auto* tag = base + offset;
    const auto start = static_cast<std::uint64_t>(XML_GetCurrentByteIndex(p_));
    bool counted = false;  // the column counted from the line's start, not expat's
    if (last_.valid && last_.line == line && last_.end <= start && (!last_.counted || start - last_.end <= std::uint64_t(offset))) {
      // Expat's column again when the line's start was already out of the buffer.
      if (last_.counted) {
        column = last_.column;
        std::uint32_t l = line;
        Advance(tag - (start - last_.end), tag, l, column);
      }
      counted = last_.counted;
    } else {
      const auto* lineStart = tag;
      while (lineStart > base && lineStart[-1] != '\n' && lineStart[-1] != '\r') --lineStart;
      if (lineStart > base || start == std::uint64_t(offset)) {
        if (lineStart == base && tag - base >= 3 && base[0] == 0xEF && base[1] == 0xBB && base[2] == 0xBF) lineStart += 3;  // BOM
        std::uint32_t l = line;
        column = 1;
        Advance(lineStart, tag, l, column);
        counted = true;
      }
    }
    Advance(tag, tag + count, line, column);
    last_ = {start + static_cast<std::uint64_t>(count), line, column, counted, true};
  }
  // Where the previous start tag ended.
  struct TagMark {
    std::uint64_t end = 0;
    std::uint32_t line = 0, column = 0;
    bool counted = false, valid = false;
  } last_;

  static void XMLCALL OnXmlDecl(void* self, const XML_Char* version, const XML_Char* encoding, int) {
    auto* r = static_cast<ExpatReader*>(self);
    if ((version && std::strcmp(version, "1.0") != 0) || (encoding && !SameName(encoding, "UTF-8"))) {
      r->foreign_ = true;
      r->Stop();
    }
  }
  static void XMLCALL OnDoctype(void* self, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    auto* r = static_cast<ExpatReader*>(self);
    r->error_ = At(r->file_, XML_GetCurrentLineNumber(r->p_), XML_GetCurrentColumnNumber(r->p_) + 1, kDoctype);
    r->Stop();
  }
  // No exception may cross expat's C frames: one ends the parse with its message.
  template <class F>
  void Guarded(F&& f) {
    if (stopped_) return;
    try {
      if (!f()) Stop();
    } catch (const std::exception& x) {
      error_ = At(file_, XML_GetCurrentLineNumber(p_), XML_GetCurrentColumnNumber(p_) + 1, x.what());
      Stop();
    }
  }
  static void XMLCALL OnStart(void* self, const XML_Char* name, const XML_Char** atts) {
    auto* r = static_cast<ExpatReader*>(self);
    r->Guarded([&] {
      r->attrs_.clear();
      for (; *atts; atts += 2) r->attrs_.push_back({atts[0], atts[1]});
      XmlStart e{name, r->attrs_.data(), r->attrs_.size(), 1, 1};
      r->TagEnd(e.line, e.column);
      return r->sink_.Start(e);
    });
  }
  static void XMLCALL OnEnd(void* self, const XML_Char*) {
    auto* r = static_cast<ExpatReader*>(self);
    r->Guarded([&] { return r->sink_.End(); });
  }
  static void XMLCALL OnText(void* self, const XML_Char* s, int len) {
    auto* r = static_cast<ExpatReader*>(self);
    r->Guarded([&] { return Blank(s, static_cast<std::size_t>(len)) || r->sink_.Text(); });
  }

  const std::string& file_;
  XmlSink& sink_;
  std::string& error_;
  XML_Parser p_;
  std::vector<XmlAttr> attrs_;
  bool stopped_ = false;
  bool foreign_ = false;
};

// ------------------------------------------------------------------ Xerces SAX2
struct StopParse {};

// Input never reaches outside the bytes given: every external entity reads as empty.
class NoExternalEntities final : public xercesc::EntityResolver {
public:
  xercesc::InputSource* resolveEntity(const XMLCh* const, const XMLCh* const) override {
    static const XMLByte empty[1] = {0};
    return new xercesc::MemBufInputSource(empty, 0, "external-entity", false);
  }
};

class SaxReader final : public xercesc::DefaultHandler {
public:
  SaxReader(const std::string& file, XmlSink& sink, std::string& error) : file_(file), sink_(sink), error_(error) {}

  void setDocumentLocator(const xercesc::Locator* const locator) override { locator_ = locator; }
  void startElement(const XMLCh* const, const XMLCh* const, const XMLCh* const qname,
                    const xercesc::Attributes& attrs) override {
    Check();
    name_ = Utf8(qname);
    const XMLSize_t n = attrs.getLength();
    strings_.resize(2 * n);
    views_.resize(n);
    for (XMLSize_t i = 0; i < n; ++i) {
      strings_[2 * i] = Utf8(attrs.getQName(i));
      strings_[2 * i + 1] = Utf8(attrs.getValue(i));
    }
    for (XMLSize_t i = 0; i < n; ++i) views_[i] = {strings_[2 * i], strings_[2 * i + 1]};
    XmlStart e{name_, views_.data(), n, Line(), Column()};
    if (!sink_.Start(e)) throw StopParse{};
  }
  void endElement(const XMLCh* const, const XMLCh* const, const XMLCh* const) override {
    Check();
    if (!sink_.End()) throw StopParse{};
  }
  void characters(const XMLCh* const chars, const XMLSize_t length) override {
    Check();
    for (XMLSize_t i = 0; i < length; ++i)
      if (chars[i] != ' ' && chars[i] != '\t' && chars[i] != '\n' && chars[i] != '\r') {
        if (!sink_.Text()) throw StopParse{};
        return;
      }
  }
  void startDTD(const XMLCh* const, const XMLCh* const, const XMLCh* const) override {
    if (error_.empty()) error_ = At(file_, Line(), Column(), kDoctype);
    throw StopParse{};
  }
  void warning(const xercesc::SAXParseException&) override {}
  void error(const xercesc::SAXParseException& e) override { Record(e); }
  void fatalError(const xercesc::SAXParseException& e) override { Record(e); }

private:
  std::uint32_t Line() const { return locator_ ? static_cast<std::uint32_t>(locator_->getLineNumber()) : 1; }
  std::uint32_t Column() const { return locator_ ? static_cast<std::uint32_t>(locator_->getColumnNumber()) : 1; }
  // After a reported problem nothing more reaches the sink.
  void Check() const {
    if (!error_.empty()) throw StopParse{};
  }
  void Record(const xercesc::SAXParseException& e) {
    if (error_.empty()) error_ = At(file_, e.getLineNumber(), e.getColumnNumber(), Utf8(e.getMessage()));
  }

  const std::string& file_;
  XmlSink& sink_;
  std::string& error_;
  const xercesc::Locator* locator_ = nullptr;
  std::string name_;
  std::vector<std::string> strings_;
  std::vector<XmlAttr> views_;
};

bool ReadWithXerces(const std::string& bytes, const std::string& file, XmlSink& sink, std::string& error) {
  using namespace xercesc;
  support::EnsureXerces();
  std::unique_ptr<SAX2XMLReader> reader(XMLReaderFactory::createXMLReader());
  SaxReader handler(file, sink, error);
  NoExternalEntities noEntities;
  SecurityManager security;
  security.setEntityExpansionLimit(1000);
  reader->setFeature(XMLUni::fgSAX2CoreNameSpaces, false);
  reader->setFeature(XMLUni::fgSAX2CoreValidation, false);
  reader->setFeature(XMLUni::fgXercesLoadExternalDTD, false);
  reader->setFeature(XMLUni::fgXercesSkipDTDValidation, true);
  reader->setFeature(XMLUni::fgXercesDisableDefaultEntityResolution, true);
  reader->setProperty(XMLUni::fgXercesSecurityManager, &security);
  reader->setContentHandler(&handler);
  reader->setErrorHandler(&handler);
  reader->setLexicalHandler(&handler);
  reader->setEntityResolver(&noEntities);
  reader->setExitOnFirstFatalError(true);
  MemBufInputSource input(reinterpret_cast<const XMLByte*>(bytes.data()), bytes.size(), file.c_str(), false);
  try {
    reader->parse(input);
  } catch (const StopParse&) {
    return false;
  } catch (const OutOfMemoryException&) {
    error = file + ":1:1: out of memory while parsing";
  } catch (const XMLException& e) {
    if (error.empty()) error = file + ":" + std::to_string(e.getSrcLine()) + ":1: " + Utf8(e.getMessage());
  }
  return error.empty();
}

}  // namespace

bool ReadXml(const std::string* bytes, const std::string* path, const std::string& fileName, XmlSink& sink,
             std::string& error, std::size_t* sizeHint) {
  error.clear();
  if (bytes) {
    if (sizeHint) *sizeHint = bytes->size();
    if (!WideStart(bytes->data(), bytes->size())) {
      ExpatReader r(fileName, sink, error);
      bool ok = r.Parse(bytes->data(), bytes->size(), true);
      if (ok || !r.Foreign()) return ok;
    }
    error.clear();
    return ReadWithXerces(*bytes, fileName, sink, error);
  }
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path->c_str(), "rb"), &std::fclose);
  if (!f) {
    error = *path + ": cannot open the plant file";
    return false;
  }
  std::size_t size = 0;
  if (std::fseek(f.get(), 0, SEEK_END) == 0) {
    const long end = std::ftell(f.get());
    size = end > 0 ? static_cast<std::size_t>(end) : 0;
    std::rewind(f.get());
  }
  if (sizeHint) *sizeHint = size;
  {
    ExpatReader r(fileName, sink, error);
    bool ok = r.ParseFile(f.get(), size);
    if (ok || !r.Foreign()) return ok;
  }
  // XML 1.1 or another encoding: rare, and read whole.
  error.clear();
  std::rewind(f.get());
  std::string all;
  char buf[1 << 16];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f.get())) > 0;) all.append(buf, n);
  if (std::ferror(f.get())) {
    error = *path + ": cannot read the plant file";
    return false;
  }
  return ReadWithXerces(all, fileName, sink, error);
}

}  // namespace plant
}  // namespace host
