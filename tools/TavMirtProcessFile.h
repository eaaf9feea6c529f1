#pragma once
// A "SCOPES" process file read into what the import makes of it: the process's
// label and description, one operation per "Operation" block, and the links of the
// sequence (docs/process-file.md). Reading makes no model change, so a broken file
// is refused before anything is touched.
#include <string>
#include <string_view>
#include <vector>

struct TavMirtProcessFile {
  struct Operation {
    std::string label, type;
    double time = 0;
    std::string image;
    std::string description;  // first line, then the resources, components and welds
    int line = 0;             // where its "Operation" stands
  };
  struct Link {
    std::string source, target;
    int line = 0;  // where its "Link" stands
  };
  enum class Status { Read, NotScopes, Broken };

  std::string header, generationTime, label;
  std::vector<Operation> operations;
  std::vector<Link> links;
  bool latin1 = false;  // the bytes were not UTF-8 and were read as Latin-1

  // The description the process takes: the header, then "\nGeneration time : " and
  // the generation time.
  std::string Description() const { return header + "\nGeneration time : " + generationTime; }

  // Read: the whole file was read. NotScopes: the header does not begin with "SCOPE"
  // (nothing else is read). Broken: `error` says "LINE: what" (the end of the file
  // before a closing keyword, another line where a keyword is due, a line over
  // kMaxLine bytes, a NUL byte, a time that is no finite number).
  static Status Parse(std::string_view text, TavMirtProcessFile& out, std::string* error = nullptr);

  static constexpr std::size_t kMaxLine = 10000;
};
