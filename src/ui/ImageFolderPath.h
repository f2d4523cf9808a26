// Where the window finds its pictures: the folder "images" beside the program, else the
// installed data folder.
#pragma once

#include <string>

// The images folder ending with "/"; the one beside the program when neither exists, so that a
// picture's load error names the place where it was expected.
std::string WindowImageFolder();
