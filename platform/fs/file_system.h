// The few file-system services the library needs: directories, existence and access checks.
#pragma once

#include <string>

namespace vomtel {

// The path separator of this platform.
inline constexpr char kPathSeparator = '/';

// The process's current directory; an empty text when it cannot be read.
std::string CurrentDirectory();

// The directory that holds the machine-wide configuration: "/etc".
std::string SystemDirectory();

// `directory` with one separator appended (always, even when it already ends in one).
std::string WithSeparator(std::string directory);

// True when `path` exists and is a directory.
bool IsDirectory(const std::string& path);

// True when the process may both read and write `path`; for a directory, also make and open
// entries in it (search permission).
bool CanReadWrite(const std::string& path);

// Creates one directory level (the parent must exist). True when the directory was made or
// already existed as a directory; false otherwise.
bool MakeDirectory(const std::string& path);

}  // namespace vomtel
