// Session scripts from arbitrary bytes: split into statements and matched against
// the statement table, running nothing. Never a crash; every statement keeps its
// line, every refusal says why, and a word quoted back reads as the same word.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ScriptTable.h"
#include "ScriptWords.h"
#include "Startup.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  mirt::StartUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const host::ParsedScript parsed = host::ParseScript(text);
  const host::ScriptTable& table = host::ScriptStatements();
  int previous = 0;
  for (const auto& st : parsed.statements) {
    if (st.line <= previous || st.words.empty()) std::abort();
    previous = st.line;
    host::ScriptMatch match;
    std::string error;
    if (!table.Match(st.words, match, error) && error.empty()) std::abort();
    for (const auto& word : st.words) {
      std::vector<std::string> back;
      if (!host::SplitWords(host::QuoteWord(word), back, error) || back.size() != 1 || back[0] != word) std::abort();
    }
  }
  for (const auto& e : parsed.errors)
    if (e.line <= 0 || e.message.empty()) std::abort();
  return 0;
}
