#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wattrix {

// Every user-visible text is looked up by key in the string-table file
// "QLMXEnStr.ini" next to the executable. Missing file, section or key give
// empty text; texts are cut to 1023 characters (UTF-8 characters, never
// inside one). Lookups are safe from any thread.
namespace strings {

constexpr const char* kFileName = "QLMXEnStr.ini";
constexpr std::size_t kMaxTextLength = 1023;
constexpr const char* kCaption = "Wattrix";

// Finds the table next to the executable (or in the installed data folder)
// and makes it the one every lookup reads.
void InitStringTablePath();
// Uses the table at `path` (tests, other languages).
void SetStringTablePath(const std::string& path);
std::string StringTablePath();

std::string GetText(std::string_view section, std::string_view key);
// GetText("STRING", key).
std::string GetString(std::string_view key);
// GetText("MENU", key).
std::string GetMenuText(std::string_view key);

// Shows GetString(key) with the caption "Wattrix" and the given box type;
// an empty text shows nothing and returns -1.
int MessageBoxKey(void* owner, std::string_view key, unsigned type);
int MessageBoxKeyNoOwner(std::string_view key, unsigned type);
// Shows an already formatted text; empty text shows nothing and returns -1.
int MessageBoxText(void* owner, const std::string& text, unsigned type);

}  // namespace strings
}  // namespace wattrix
