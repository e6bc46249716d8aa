// Windows paths as GBK text. A byte 0x5C ("\") may be the trail byte of a double-byte character
// (運, 誠, 錦...), so separators are found by walking the text character by character, and the
// platform's length limit counts characters, not bytes. Portable.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace ruvelto::app {

// The longest path the platform's file functions take, in characters (MAX_PATH less its zero).
constexpr size_t kLongestPath = 259;
// The longest output folder: a temporary file's name (up to 13 characters with its "\") must
// still fit after it.
constexpr size_t kLongestOutputFolder = kLongestPath - 13;

// Whether the last character of the path is a backslash (not a trail byte that looks like one).
bool EndsWithBackslash(const std::string& path);
// The folder with one "\" at its end.
std::string WithBackslash(const std::string& folder);
// The folder without the backslashes at its end.
std::string WithoutTrailingBackslashes(const std::string& folder);
// The number of characters: a double-byte character counts once.
size_t PathCharacterCount(const std::string& path);
// Every folder on the way to this one, outermost first, the folder itself last ("C:\a\b" gives
// "C:\a" and "C:\a\b"; a drive root or a share is never among them).
std::vector<std::string> FoldersOnTheWay(const std::string& folder);

}  // namespace ruvelto::app
