// The unattended run (switch A): reads the project file named by switch I, computes it and
// writes its cutting program to the file named by switch O, or to standard output. No window.
#pragma once

#include <string>

// Runs the unattended generation with AppCfg's input and output file. Raises EAppError when
// there is no input file or when reading, generating or writing fails; nothing is written then.
void RunAutoGeneration();

// Reads inFile, computes the project, generates the checked program and saves it to outFile
// exactly as named (no extension added; empty: standard output). A panel type without a program
// still writes the two-byte program and prints a warning line on standard error.
void GenerateFromProjectFile(const std::string& inFile, const std::string& outFile);
