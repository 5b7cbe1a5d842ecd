#pragma once

#include <string>
#include <vector>

namespace wattrix::cli {

// psh report FILE OUT.pdf [--title T] [--date D] [--engineer E] [--site S]
// [--purpose P] [--result R] [--remark M]: the history window's report as a
// PDF. `args` are the words after "report".
int PshReport(const std::vector<std::string>& args);

}  // namespace wattrix::cli
