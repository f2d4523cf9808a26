#include <iostream>

#include "platform/NumberText.h"
#include "view/ViewCommand.h"

int main(int argc, char** argv) {
  platform::NumberFormat() = platform::NumberFormatFromEnvironment();  // for project files
  return view::RunView(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
