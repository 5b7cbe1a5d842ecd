// Reads arbitrary bytes as an INI document and as a settings file.
#include "core/measure/MeasurementSettings.h"
#include "core/platform/IniFile.h"

#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

std::string ScratchDir() {
  static const std::string dir = [] {
    char pattern[] = "/tmp/wattrix-fuzz-ini-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    return std::string(made ? made : "/tmp");
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  auto file = wattrix::IniFile::Parse(text);
  (void)file.ReadString("HEADER", "DEVICE");
  (void)file.ReadInt("AVG", "RATE");
  file.Write("HEADER", "FREQUENCY", "1");
  (void)file.Text();

  // The same bytes as a settings file on disk.
  const std::string dir = ScratchDir();
  const std::string path = dir + "/PX420B.ini";
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  wattrix::MeasurementSettings settings;
  settings.SetSettingsDirectory(dir);
  settings.LoadSettingsFile("PX420B");
  (void)settings.Average(0);
  return 0;
}
