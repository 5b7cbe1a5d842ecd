#include "cli/SensorCliFixture.h"

#include <sys/stat.h>
#include <cstdlib>
#include <sstream>

namespace wattrix::test {

void SensorCliFixture::SetUp() {
  ::setenv("WATTRIX_PORTS_DIR", m_dir.File("ports").c_str(), 1);
  ::setenv("WATTRIX_USB_DIR", m_dir.File("usb").c_str(), 1);
  ASSERT_EQ(::mkdir(Home().c_str(), 0755), 0);
  // Settings files of the developer's build folder must not leak in.
  ::setenv("WATTRIX_HOME", Home().c_str(), 1);
  const std::string cli = WATTRIX_CLI_PATH;
  const std::string table = cli.substr(0, cli.find_last_of('/')) + "/QLMXEnStr.ini";
  const std::string text = ReadFileBytes(table);
  ASSERT_FALSE(text.empty()) << table;
  WriteFileBytes(Home() + "/QLMXEnStr.ini", text);
}

void SensorCliFixture::TearDown() {
  m_sims.clear();
  ::unsetenv("WATTRIX_PORTS_DIR");
  ::unsetenv("WATTRIX_USB_DIR");
  ::unsetenv("WATTRIX_HOME");
}

int SensorCliFixture::StartSim(std::vector<std::string> args) {
  m_sims.push_back(std::make_unique<SimProcess>(WATTRIX_SIM_PATH, std::move(args)));
  const int port = m_sims.back()->Port(0);
  EXPECT_NE(port, 0) << m_sims.back()->Errors();
  return port;
}

std::map<std::string, std::string> SensorCliFixture::Values(const std::string& out) {
  std::map<std::string, std::string> values;
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line)) {
    const auto equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return values;
}

}  // namespace wattrix::test
