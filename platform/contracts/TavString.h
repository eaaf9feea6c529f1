#pragma once
// The one Unicode string type of the system. Stored as UTF-8; converted at the
// edges: Xerces (UTF-16 XMLCh), reports (ISO-8859-1), terminal and files (UTF-8).
#include <compare>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TavUnicodeString {
public:
  TavUnicodeString() = default;
  TavUnicodeString(const char* s) : s_(s ? s : "") {}
  TavUnicodeString(std::string s) : s_(std::move(s)) {}
  TavUnicodeString(std::string_view s) : s_(s) {}

  // Invalid UTF-16 (a lone surrogate) becomes U+FFFD rather than broken UTF-8.
  static TavUnicodeString FromUtf16(std::u16string_view s);
  static TavUnicodeString FromXMLCh(const char16_t* s);
  static TavUnicodeString FromLatin1(std::string_view s);

  const std::string& utf8() const { return s_; }
  const char* c_str() const { return s_.c_str(); }
  std::u16string ToUtf16() const;
  // Characters above U+00FF cannot be held in one byte; they are written as a
  // numeric character reference ("&#8364;") so an XML file stays valid and lossless.
  std::string ToLatin1WithReferences() const;
  // Decodes the string into code points (invalid bytes become U+FFFD).
  std::vector<char32_t> CodePoints() const;

  bool IsEmpty() const { return s_.empty(); }
  std::size_t GetLengthInChar() const { return CodePoints().size(); }
  std::size_t size() const { return s_.size(); }
  TavUnicodeString ToUpper() const;  // ASCII letters only, like the host's
  TavUnicodeString ToLower() const;
  TavUnicodeString Strip() const;    // blanks removed from both ends
  bool Contains(std::string_view needle) const { return s_.find(needle) != std::string::npos; }
  bool EndsWith(std::string_view suffix) const;
  bool StartsWith(std::string_view prefix) const { return s_.rfind(prefix, 0) == 0; }

  TavUnicodeString& operator+=(const TavUnicodeString& o) { s_ += o.s_; return *this; }
  friend TavUnicodeString operator+(TavUnicodeString a, const TavUnicodeString& b) { a += b; return a; }
  friend bool operator==(const TavUnicodeString& a, const TavUnicodeString& b) = default;
  friend auto operator<=>(const TavUnicodeString& a, const TavUnicodeString& b) = default;
  friend bool operator==(const TavUnicodeString& a, const char* b) { return a.s_ == b; }

private:
  std::string s_;
};

using UString = TavUnicodeString;

template <>
struct std::hash<TavUnicodeString> {
  std::size_t operator()(const TavUnicodeString& s) const noexcept { return std::hash<std::string>{}(s.utf8()); }
};

// Appends a code point to a UTF-8 string.
void AppendUtf8(std::string& out, char32_t cp);
