#pragma once

#include <string>

// The user's folders as the XDG base directory rules name them: the variable's value when it is an
// absolute path (relative ones are invalid and ignored), else the folder under $HOME; "" without either.
std::string XdgFolder(const char* variable, const char* underHome);

// Makes the folder and any missing parents, private to the user; true when it exists afterwards.
bool MakeFolders(const std::string& folder);
