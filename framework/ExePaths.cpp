#include "framework/ExePaths.h"

namespace {

std::size_t FileNameStart(const std::string& path) {
    std::size_t sep = path.find_last_of("\\/");
    return sep == std::string::npos ? 0 : sep + 1;
}

// Position of the extension's dot within the file name, or npos.
std::size_t ExtensionDot(const std::string& path) {
    std::size_t dot = path.find_last_of('.');
    return dot == std::string::npos || dot < FileNameStart(path) ? std::string::npos : dot;
}

}  // namespace

std::string ExeDirectory(const std::string& exePath) {
    return exePath.substr(0, FileNameStart(exePath));
}

std::string AppNameFromPath(const std::string& exePath) {
    std::size_t start = FileNameStart(exePath);
    std::size_t dot = ExtensionDot(exePath);
    return exePath.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
}

std::string HelpFilePath(const std::string& exePath) {
    return exePath.substr(0, ExtensionDot(exePath)) + ".CHM";
}
