#include "core/platform/TraceSink.h"

namespace wattrix {

TraceSink& TraceSink::Instance() {
  static TraceSink sink;
  return sink;
}

void TraceSink::Trace(std::string_view) {}

void Trace(std::string_view text) { TraceSink::Instance().Trace(text); }

}  // namespace wattrix
