// onefortwo-journal: the station's journal as CSV, for scripts and the morning report.

#include <iostream>
#include <string>
#include <vector>

#include "journal/tool/journal_tool.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return onefortwo::RunJournalTool(args, std::cout, std::cerr);
}
