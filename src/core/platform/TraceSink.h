#pragma once

#include <string_view>

namespace wattrix {

// The process-wide receiver of trace texts ("MainFrame Created" and the
// like). There is no log file: the texts are accepted and dropped, so
// tracing costs nothing and never fails, from any thread.
class TraceSink final {
 public:
  static TraceSink& Instance();

  void Trace(std::string_view text);

 private:
  TraceSink() = default;
};

// TraceSink::Instance().Trace(text).
void Trace(std::string_view text);

}  // namespace wattrix
