#pragma once

#include <string_view>

// Parts of a Windows path. Both backslash and slash separate folders.
//   folder:    everything up to and including the last separator
//   file:      what follows it
//   extension: the text after the last dot of the file part ("" without a dot)
//   stem:      the path without the extension and the dot before it
std::string_view FolderPart(std::string_view path);
std::string_view FilePart(std::string_view path);
std::string_view Extension(std::string_view path);
std::string_view Stem(std::string_view path);
