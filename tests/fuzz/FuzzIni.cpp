// Reads arbitrary bytes as an INI document, as a settings file and as the
// string table.
#include "core/measure/MeasurementSettings.h"
#include "core/platform/IniFile.h"
#include "core/platform/NumberText.h"
#include "core/strings/StringTable.h"

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

void WriteBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  auto file = wattrix::IniFile::Parse(text);
  (void)file.ReadString("HEADER", "DEVICE");
  (void)file.ReadInt("AVG", "RATE");
  std::size_t entries = 0;
  file.ForEach([&entries](std::string_view, std::string_view, std::string_view value) {
    ++entries;
    (void)wattrix::ParseFloat(value);
    (void)wattrix::ParseLeadingInt(value);
  });
  // Writing the input itself as a value must never add lines to the file.
  const auto lines = [](const std::string& s) {
    std::size_t n = 0;
    for (const char c : s) n += c == '\n';
    return n;
  };
  const auto before = lines(file.Text());
  file.Write("HEADER", "FREQUENCY", text);
  if (lines(file.Text()) > before + 3) __builtin_trap();  // at most a new section, key and final break

  // The same bytes as a settings file and as the string table on disk.
  const std::string dir = ScratchDir();
  WriteBytes(dir + "/PX420B.ini", data, size);
  // One record for every run: its reading buffers are large to allocate.
  static wattrix::MeasurementSettings settings;
  settings.SetSettingsDirectory(dir);
  settings.LoadSettingsFile("PX420B");

  WriteBytes(dir + "/QLMXEnStr.ini", data, size);
  wattrix::strings::SetStringTablePath(dir + "/QLMXEnStr.ini");
  if (wattrix::strings::GetString("S_VERSION").size() > 4 * wattrix::strings::kMaxTextLength)
    __builtin_trap();
  (void)wattrix::strings::GetText("IDD_CONNECT", "CAPTION");
  return 0;
}
