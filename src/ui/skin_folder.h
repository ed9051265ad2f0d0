#pragma once
// Where the windows take their pictures from.
#include <string>

namespace kelvane {

// `programFolder`\Skin\`skinName`. An empty name means the Skin folder
// itself; the shipped pictures lie in Skin\Default, so without a name that
// folder is taken whenever Skin holds no main.bmp of its own.
std::string SkinFolderPath(const std::string& programFolder, const std::string& skinName);

// The same with "SkinName" as stored now.
std::string CurrentSkinFolder(const std::string& programFolder);

}  // namespace kelvane
