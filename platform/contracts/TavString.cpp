#include "TavString.h"

#include <algorithm>

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::vector<char32_t> TavUnicodeString::CodePoints() const {
  std::vector<char32_t> out;
  out.reserve(s_.size());
  const auto* p = reinterpret_cast<const unsigned char*>(s_.data());
  const std::size_t n = s_.size();
  std::size_t i = 0;
  while (i < n) {
    unsigned char c = p[i];
    int len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || i + len > n) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    bool ok = true;
    for (int k = 1; k < len; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) { ok = false; break; }
      cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    // Overlong forms and surrogates are not valid UTF-8.
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (!ok || cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    out.push_back(cp);
    i += len;
  }
  return out;
}

TavUnicodeString TavUnicodeString::FromUtf16(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    }
    AppendUtf8(out, c);
  }
  return TavUnicodeString(std::move(out));
}

TavUnicodeString TavUnicodeString::FromXMLCh(const char16_t* s) {
  if (!s) return {};
  return FromUtf16(std::u16string_view(s));
}

TavUnicodeString TavUnicodeString::FromLatin1(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (unsigned char c : s) AppendUtf8(out, c);
  return TavUnicodeString(std::move(out));
}

std::u16string TavUnicodeString::ToUtf16() const {
  std::u16string out;
  out.reserve(s_.size());
  for (char32_t cp : CodePoints()) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::string TavUnicodeString::ToLatin1WithReferences() const {
  std::string out;
  out.reserve(s_.size());
  for (char32_t cp : CodePoints()) {
    if (cp <= 0xFF) {
      out += static_cast<char>(cp);
    } else {
      out += "&#" + std::to_string(static_cast<std::uint32_t>(cp)) + ";";
    }
  }
  return out;
}

TavUnicodeString TavUnicodeString::ToUpper() const {
  std::string r = s_;
  std::transform(r.begin(), r.end(), r.begin(), [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; });
  return r;
}

TavUnicodeString TavUnicodeString::ToLower() const {
  std::string r = s_;
  std::transform(r.begin(), r.end(), r.begin(), [](char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; });
  return r;
}

TavUnicodeString TavUnicodeString::Strip() const {
  auto b = s_.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  auto e = s_.find_last_not_of(" \t\r\n");
  return s_.substr(b, e - b + 1);
}

bool TavUnicodeString::EndsWith(std::string_view suffix) const {
  return s_.size() >= suffix.size() && s_.compare(s_.size() - suffix.size(), suffix.size(), suffix) == 0;
}
