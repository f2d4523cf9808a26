// tectoplan-view: reads a cutting program, prints the check as a short table and, when asked,
// writes the preview picture as SVG; or does the same for the program a project would give. The
// program entry only hands over its arguments.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace view {

// Runs the command on args (without the program name):
//   PROGRAM.plt [--svg OUT.svg] [--project JOB.tcj] [-L LANGUAGE]
//   --project JOB.tcj [--svg OUT.svg] [-L LANGUAGE]
// The second form checks the program the unattended run would write for the project; one that
// the gate refuses exits 1 with the unattended run's error line and the advice on what to change.
// Messages are in the language of the loaded text table; the entry chose it by the program's rule
// (-L, the configuration file, the locale), and -L is only stepped over here.
// Writes the table to out and errors to err. Returns 0 when every check passes (warnings
// allowed), 1 when a check fails or the program cannot be read, 2 for a wrong command line, a
// project that cannot be read or a picture that cannot be written.
int RunView(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace view
