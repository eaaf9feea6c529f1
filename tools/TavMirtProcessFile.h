#pragma once
// A "SCOPES" process file read into what the import makes of it: the process's
// label and description, one operation per "Operation" block, and the links of the
// sequence (docs/process-file.md). Reading makes no model change.
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

  std::string header, generationTime, label;
  std::vector<Operation> operations;
  std::vector<Link> links;
  // Where the file left the grammar and reading stopped or went on (a block cut
  // short by the end of the file or by a line that is no keyword, a time that is no
  // finite number): "line N: what", in file order.
  std::vector<std::string> notes;

  // The description the process takes: the header, then "\nGeneration time : " and
  // the generation time.
  std::string Description() const { return header + "\nGeneration time : " + generationTime; }

  // False when the header does not begin with "SCOPE" (nothing else is read then).
  // Lines end with LF; a CR before it is dropped.
  static bool Parse(std::string_view text, TavMirtProcessFile& out);
};
