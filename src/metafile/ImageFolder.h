// Where the program's pictures (the panel sketches and block layouts) lie: the folder "images"
// beside the program first (the build tree, a portable copy), then the installed data folder,
// found relative to the program's folder wherever the installed tree lies.
#pragma once

#include <filesystem>
#include <vector>

// The folders to look in, in order, for a program in programFolder: programFolder/images/, then
// the installed data folder relative to programFolder (../share/tectoplan/images/ for a program
// in bin/).
std::vector<std::filesystem::path> ImageFolderCandidates(
    const std::filesystem::path& programFolder);

// The first of the candidates that is a folder. When none is, the first candidate, so that a
// picture's load error names the place beside the program where it was expected.
std::filesystem::path FindImageFolder(const std::vector<std::filesystem::path>& candidates);

// The images folder of the running program.
std::filesystem::path ImageFolder();
