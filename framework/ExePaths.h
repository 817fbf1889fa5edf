#pragma once

#include <string>

// Names derived from the executable's full path.

// The directory holding the executable, ending with its separator; empty
// when the path has no directory part.
std::string ExeDirectory(const std::string& exePath);
// The file name without its extension: the caption of the program's
// message boxes.
std::string AppNameFromPath(const std::string& exePath);
// The compiled help file beside the executable: the extension replaced by
// ".CHM".
std::string HelpFilePath(const std::string& exePath);
