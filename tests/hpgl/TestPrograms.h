// The cutting programs and projects the hpgl tests read, in programs/ beside the tests.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

inline std::string Fixture(const std::string& name) {
  return std::string(TEST_DATA_DIR) + "/programs/" + name;
}

inline std::string ReadFixture(const std::string& name) {
  std::ifstream in(Fixture(name), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
