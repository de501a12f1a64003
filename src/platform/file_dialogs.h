#pragma once
// The file and folder choosers.
#include <string>

namespace vp {

bool BrowseForFolder(std::u16string& path, const std::u16string& title, unsigned options);
std::u16string PromptSaveFile(const std::u16string& fileName, const std::u16string& filter,
                              const std::u16string& defaultExt, const std::u16string& title);
std::u16string PromptOpenFile(const std::u16string& fileName, const std::u16string& filter,
                              const std::u16string& defaultExt, const std::u16string& title);

} // namespace vp
