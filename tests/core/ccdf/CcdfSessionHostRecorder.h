#pragma once

#include "core/ccdf/CcdfSessionHost.h"

#include <string>
#include <vector>

namespace wattrix::test {

// Counts what the CCDF session asks of its window.
class CcdfSessionHostRecorder final : public CcdfSessionHost {
 public:
  void RefreshCcdfViews() override { ++refreshes; }
  void SetWarningText(const std::string& text) override { warnings.push_back(text); }
  bool AskYesNo(const char* key) override {
    questions.emplace_back(key);
    return answer;
  }

  int refreshes = 0;
  std::vector<std::string> warnings;
  std::vector<std::string> questions;
  bool answer = true;
};

}  // namespace wattrix::test
